// The call-sign race on the real player: the learner answers the moment each call ends, and the wait until the next
// call sounds is measured (the next call is prepared while the learner answers: the goal is 150 ms at most).
// Usage: bench_race [calls]

#include "common/RandomSource.h"
#include "fakes/BuildFolder.h"
#include "fakes/FakeFileDialog.h"
#include "fakes/FakeSpeech.h"
#include "games/RaceController.h"
#include "games/RaceWindow.h"
#include "history/SqliteHistory.h"
#include "platform/AudioSinkPlayer.h"
#include "signs/SignTable.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>

namespace {

// Told when each call has sounded to its end.
class Ends : public MediaPlayerListener
{
public:
    void statusUpdate() override {}
    void playerEnded(PlaybackEnd reason) override
    {
        if (reason == PlaybackEnd::Finished)
            ended = true;
    }
    bool ended = false;
};

// Runs the event loop until `done` or `limitMs` passed.
template <typename Done> void WaitFor(Done done, int limitMs)
{
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < limitMs)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    const int calls = std::clamp(argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 20, 1, 50);
    QTemporaryDir dir;
    const SignTable signs = LoadSignFile(BuildFolder::file("telkey.ref")).table;
    AudioSinkPlayer player;
    Ends ends;
    player.setListener(&ends);
    RandomSource random;
    SqliteHistory history;
    history.open(QStringLiteral(":memory:"));
    FakeSpeech speech;
    FakeFileDialog files;
    RaceController race({signs, player, random, history, speech, files, dir.path()});
    race.show();
    race.window()->startSpeed->setValue(200);
    race.start();
    QList<double> waits;
    for (int i = 0; i < calls; ++i) {
        WaitFor([&] { return ends.ended; }, 10000);
        ends.ended = false;
        QElapsedTimer wait;
        wait.start();
        race.window()->answer->setText(QStringLiteral("F4ABC"));
        race.answerEntered();
        if (i + 1 < calls) {
            WaitFor([&] { return player.positionMs() > 0; }, 2000);
            waits << double(wait.nsecsElapsed()) / 1e6;
        }
    }
    std::sort(waits.begin(), waits.end());
    if (waits.isEmpty())
        return 0;
    std::printf("race: %s, %lld waits between a call's end and the next call sounding: median %.1f ms, 95th "
                "percentile %.1f ms, longest %.1f ms (goal: 150 ms)\n",
                player.playsSilently() ? "silent player" : "sound server", static_cast<long long>(waits.size()),
                waits[waits.size() / 2], waits[std::min<qsizetype>(waits.size() - 1, waits.size() * 95 / 100)],
                waits.last());
    return 0;
}
