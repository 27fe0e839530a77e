#pragma once

#include <QString>
#include <QStringList>

#include <functional>

class TextSource;

// What tonique-texte reaches outside: the texts, its output streams, a seed when none is given.
struct TexteEnvironment
{
    TextSource* texts = nullptr;
    std::function<void(const QString&)> out;
    std::function<void(const QString&)> err;
    std::function<quint32()> freshSeed;
};

QString TexteCommandLineHelp();

// The whole program: prints the texts asked for, separated by an empty line; what a generator left out goes to
// `err`. 0 when every text was made; 2 with a French message on `err` for bad options or a text that cannot be made.
int RunToniqueTexte(const QStringList& arguments, const TexteEnvironment& env);
