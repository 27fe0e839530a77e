#pragma once

class SettingsStore;

#include "common/Result.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <utility>
#include <vector>

// The options of tonique-wav, as given on its command line.
struct WavCommandLine
{
    QString textFile; // "-" for standard input
    QString base = QStringLiteral("TEST");
    std::optional<QString> referenceWord, start, end, signFile;
    std::optional<double> wpm, espa, espb, espc, dash, supl, dotMs;
    std::optional<int> toneHz, volume;
    // Band conditions as given (--bruit 10, --qsb 60,8, --qsb non...), by their key, in order; checked when read.
    std::vector<std::pair<QString, QString>> conditions;
    std::optional<quint64> seed;
    bool help = false;
};

// Reads the arguments (program name excluded); the French message of a bad option.
Failure ParseWavCommandLine(const QStringList& arguments, WavCommandLine& options);

QString WavCommandLineHelp();

// What tonique-wav reaches outside: its stored parameters, its folder and its output streams.
struct WavEnvironment
{
    const SettingsStore* store = nullptr;           // the window's stored parameters; the defaults when null
    const SettingsStore* conditionsStore = nullptr; // the window's band conditions; none when null
    QString programFolder;                          // where telkey.ref is looked for
    std::function<void(const QString&)> out;
    std::function<void(const QString&)> err;
};

// The whole program: 0 when both files are written, 2 with a message on `err` otherwise (no file left behind).
int RunToniqueWav(const QStringList& arguments, const WavEnvironment& env);
