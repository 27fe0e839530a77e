#pragma once

class SettingsStore;

#include "common/Result.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

// The options of tonique-wav, as given on its command line.
struct WavCommandLine
{
    QString textFile; // "-" for standard input
    QString base = QStringLiteral("TEST");
    std::optional<QString> referenceWord, start, end, signFile;
    std::optional<double> wpm, espa, espb, espc, dash, supl, dotMs;
    std::optional<int> toneHz, volume;
    bool help = false;
};

// Reads the arguments (program name excluded); the French message of a bad option.
Failure ParseWavCommandLine(const QStringList& arguments, WavCommandLine& options);

QString WavCommandLineHelp();

// What tonique-wav reaches outside: its stored parameters, its folder and its output streams.
struct WavEnvironment
{
    const SettingsStore* store = nullptr; // the window's stored parameters; the defaults when null
    QString programFolder;                // where telkey.ref is looked for
    std::function<void(const QString&)> out;
    std::function<void(const QString&)> err;
};

// The whole program: 0 when both files are written, 2 with a message on `err` otherwise (no file left behind).
int RunToniqueWav(const QStringList& arguments, const WavEnvironment& env);
