#pragma once

#include <QString>
#include <QStringList>

#include <functional>

// What tonique-decode reaches outside: the sign file and its output streams.
struct DecodeEnvironment
{
    QString signFile; // telkey.ref of the program's folder, unless --signes
    std::function<void(const QString&)> out;
    std::function<void(const QString&)> err;
};

QString DecodeCommandLineHelp();

// The whole program: decodes the Morse code keyed in a sound file (or standard input for "-") and prints its text as
// the sign table writes it, line by line as it is read; with --timing, each character with its elements' lengths in
// dots, then the proportions of the run. 0 when the sound was read to its end (a sound without any Morse prints
// nothing); 2 with a French message on `err` for bad arguments or a file that is not a readable sound.
int RunToniqueDecode(const QStringList& arguments, const DecodeEnvironment& env);
