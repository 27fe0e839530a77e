#pragma once

#include <QString>
#include <QStringList>

#include <functional>

// What tonique-mark reaches outside: its output streams.
struct MarkEnvironment
{
    std::function<void(const QString&)> out;
    std::function<void(const QString&)> err;
};

QString MarkCommandLineHelp();

// The whole program: marks each copy file against the sent file and prints one line per copy. 0 when every copy
// was marked; 2 with a French message on `err` for bad arguments or a file that cannot be marked (the other copies
// are still marked). The history is not touched.
int RunToniqueMark(const QStringList& arguments, const MarkEnvironment& env);
