// The instant recognition on the real player (the silent clock when there is no audio output):
// - how long after the last tone sample of each character reached the sound server (the instant the server started
//   taking the samples, from the positions it reports, plus where that sample lies) the player's end notice comes,
//   which starts the timing of the learner's key (goal: 10 ms at the 95th percentile);
// - the wait from the key that answers a character to the next one sounding (its silence of the settings' spacing
//   comes on top; goal: 150 ms).
// Usage: bench_recognition [characters]

#include "common/RandomSource.h"
#include "fakes/BuildFolder.h"
#include "fakes/FakeSettingsStore.h"
#include "fakes/FakeSpeech.h"
#include "games/RecognitionController.h"
#include "games/RecognitionWindow.h"
#include "history/SqliteHistory.h"
#include "platform/AudioSinkPlayer.h"
#include "platform/QtClock.h"
#include "signs/SignTable.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

namespace {

// The real player, with the instants of each play() and each end noted before the controller hears of them.
class TimedPlayer : public MediaPlayer, public MediaPlayerListener
{
public:
    void setListener(MediaPlayerListener* l) override
    {
        listener = l;
        real.setListener(this);
    }
    void setFileName(const QString& path) override { real.setFileName(path); }
    QString fileName() const override { return real.fileName(); }
    Failure open() override { return real.open(); }
    void play() override
    {
        started.start();
        playedFile = real.fileName();
        real.play();
    }
    void prev() override { real.prev(); }
    void stop() override { real.stop(); }
    void close() override { real.close(); }
    bool isOpen() const override { return real.isOpen(); }
    bool isPlaying() const override { return real.isPlaying(); }
    qint64 lengthMs() const override { return real.lengthMs(); }
    void setStatusIntervalMs(int ms) override { real.setStatusIntervalMs(ms); }
    int statusIntervalMs() const override { return real.statusIntervalMs(); }
    void setTimeFormatMilliseconds() override { real.setTimeFormatMilliseconds(); }
    bool playsSilently() const override { return real.playsSilently(); }
    void statusUpdate() override
    {
        if (listener)
            listener->statusUpdate();
    }
    void playerEnded(PlaybackEnd reason) override
    {
        if (reason == PlaybackEnd::Finished) {
            endAfterPlayMs = double(started.nsecsElapsed()) / 1e6;
            ended = true;
        }
        if (listener)
            listener->playerEnded(reason);
    }

    AudioSinkPlayer real;
    MediaPlayerListener* listener = nullptr;
    QElapsedTimer started;
    QString playedFile;
    double endAfterPlayMs = 0;
    bool ended = false;
};

// Where the last non-zero sample of a rendered WAV file lies, in ms from the start of its samples.
double LastToneMs(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray bytes = f.readAll();
    qsizetype last = -1;
    for (qsizetype i = 58; i + 1 < bytes.size(); i += 2) {
        if (bytes[i] != 0 || bytes[i + 1] != 0)
            last = (i - 58) / 2 + 1;
    }
    return last < 0 ? -1 : double(last) / 8.0; // 8000 samples a second
}

template <typename Done> void WaitFor(Done done, int limitMs)
{
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < limitMs)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
}

void Summary(const char* what, QList<double> values, const char* goal)
{
    if (values.isEmpty())
        return;
    std::sort(values.begin(), values.end());
    std::printf("%s (%lld): median %.1f ms, 95th percentile %.1f ms, longest %.1f ms (goal: %s)\n", what,
                static_cast<long long>(values.size()), values[values.size() / 2],
                values[std::min<qsizetype>(values.size() - 1, values.size() * 95 / 100)], values.last(), goal);
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    const int characters =
        std::clamp(argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 20, 1, RecognitionRun::Characters);
    QTemporaryDir dir;
    const SignTable signs = LoadSignFile(BuildFolder::file("telkey.ref")).table;
    TimedPlayer player;
    RandomSource random;
    SqliteHistory history;
    history.open(QStringLiteral(":memory:"));
    FakeSpeech speech;
    QtClock clock;
    FakeSettingsStore settings;
    settings.values.insert(QStringLiteral("reflexe"), QStringLiteral("0"));
    RecognitionController::Services services{signs, player, random, history, speech, clock, settings, dir.path()};
    services.characters = [] { return QStringLiteral("kmrsuaptlowi.njef0y,vg5/q9zh38b?427c1d6x"); };
    services.tone = [] { return RaceTone{100, 700, 100}; }; // 20 wpm: a word gap of 420 ms before each character
    RecognitionController recognition(std::move(services));
    recognition.show();
    recognition.start();
    QList<double> endOffsets;
    QList<double> waits;
    for (int i = 0; i < characters; ++i) {
        // When the sound server starts taking the samples: the first position it reports, less that position.
        double serverStartMs = -1;
        WaitFor(
            [&] {
                const qint64 position = player.real.positionMs();
                if (serverStartMs < 0 && position > 0 && !player.ended)
                    serverStartMs = double(player.started.nsecsElapsed()) / 1e6 - double(position);
                return player.ended;
            },
            10000);
        player.ended = false;
        endOffsets << player.endAfterPlayMs - std::max(0.0, serverStartMs) - LastToneMs(player.playedFile);
        QElapsedTimer wait;
        wait.start();
        recognition.keyTyped(QStringLiteral("x"));
        if (i + 1 < characters) {
            WaitFor([&] { return player.real.positionMs() > 0; }, 2000);
            waits << double(wait.nsecsElapsed()) / 1e6;
        }
    }
    std::printf("recognition: %s\n", player.playsSilently() ? "silent player" : "sound server");
    Summary("end notice after the last tone sample", endOffsets, "10 ms at the 95th percentile");
    Summary("key to the next character's playback", waits, "150 ms");
    return 0;
}
