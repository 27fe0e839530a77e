#pragma once

class SettingsStore;
class SoundFileEncoder;

#include "common/Result.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

// The sound formats of --format: WAV is the program's own writer, the others go through an encoder. Named as the
// option takes them, which is also the file's extension; the bit rate in kbit/s for those that take --debit.
struct SoundFormat
{
    const char16_t* name;
    int minKbps = 0; // 0: no --debit
    int maxKbps = 0;
    int defaultKbps = 0;
};
// MP3 at 8000 Hz is MPEG-2.5, up to 64 kbit/s; below 24 kbit/s its frames (9 bytes per kbit/s) cannot hold the
// header that tells players the encoder's delay, and the sound would come late and end long.
inline constexpr SoundFormat SoundFormats[] = {
    {u"wav"}, {u"flac"}, {u"ogg"}, {u"opus", 6, 256, 24}, {u"mp3", 24, 64, 32},
};
const SoundFormat* FindSoundFormat(QStringView name);

// The options of tonique-wav, as given on its command line.
struct WavCommandLine
{
    QString textFile; // "-" for standard input
    QString base = QStringLiteral("TEST");
    const SoundFormat* format = &SoundFormats[0];
    std::optional<int> kbps;
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
    QString signFile;                               // telkey.ref of the program's folder, unless --signs
    // The encoder of a format other than WAV at that bit rate (0 when it takes none), for a sound whose highest
    // frequency is `highestHz` (0: the whole band), or why there is none.
    std::function<Result<std::unique_ptr<SoundFileEncoder>>(const SoundFormat& format, int kbps, int highestHz)>
        encoderFor;
    std::function<void(const QString&)> out;
    std::function<void(const QString&)> err;
    // Told the temporary files of the rendering before it starts, to remove them should the program be stopped, and
    // nothing once the rendering is over; may be empty.
    std::function<void(const QStringList& paths)> removeOnStop;
};

// The whole program: 0 when both files are written, 2 with a message on `err` otherwise (no file left behind).
int RunToniqueWav(const QStringList& arguments, const WavEnvironment& env);
