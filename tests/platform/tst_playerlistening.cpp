// Plays tone bursts through the real player. With a null sink (TONIQUE_NULL_SINK, from scripts/lib/pulse.sh) it
// records what the sound server played and compares it with the file; without one the player must keep time on
// its silent clock. Prints the measured delays.

#include "TestMain.h"
#include "fakes/TestWav.h"
#include "platform/AudioSinkPlayer.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>

namespace {

struct Burst
{
    qint64 first, last; // samples at 8000 Hz
};

// Runs of samples above a quarter of the peak, holes up to 2 ms (zero crossings, resampling ripple) bridged.
std::vector<Burst> findBursts(const QByteArray& bytes)
{
    std::vector<int> level(size_t(bytes.size() / 2));
    for (size_t i = 0; i < level.size(); ++i)
        level[i] = std::abs(qFromLittleEndian<qint16>(bytes.constData() + 2 * i));
    const int threshold = std::max(500, *std::max_element(level.begin(), level.end())) / 4;
    std::vector<Burst> bursts;
    for (qint64 i = 0; i < qint64(level.size()); ++i) {
        if (level[size_t(i)] < threshold)
            continue;
        if (!bursts.empty() && i - bursts.back().last <= 16)
            bursts.back().last = i;
        else
            bursts.push_back({i, i});
    }
    return bursts;
}

// The notices in order ("u" status, "E" ended), the end timed on the notices' own clock.
struct Notices : MediaPlayerListener
{
    QElapsedTimer clock;
    QString log;
    double endedAtMs = -1;
    Notices() { clock.start(); }
    double nowMs() const { return clock.nsecsElapsed() / 1e6; }
    void statusUpdate() override { log += u'u'; }
    void playerEnded(PlaybackEnd) override { endedAtMs = nowMs(), log += u'E'; }
};

} // namespace

class TestPlayerListening : public QObject
{
    Q_OBJECT

public:
    static void initMain()
    {
        // Without the test's own sound server, no other server may be reached: the silent clock is under test.
        if (qEnvironmentVariableIsEmpty("TONIQUE_NULL_SINK"))
            qputenv("PULSE_SERVER", "unix:/nonexistent/tonique-no-sound-server");
    }

private slots:
    void play_soundsLikeTheFile()
    {
        // 40 ms of silence, then dots (60 ms) and dashes (180 ms) with gaps, ending on a tone: 1180 ms.
        const QByteArray data = TestWav::bursts({0, 40, 60, 60, 180, 60, 60, 180, 180, 60, 60, 60, 180});
        QTemporaryDir dir;
        AudioSinkPlayer player;
        player.setStatusIntervalMs(200);
        player.setFileName(dir.filePath(QStringLiteral("TEST.wav")));
        QVERIFY(TestWav::write(player.fileName(), TestWav::file(data)) && !player.open());
        Notices notices;
        player.setListener(&notices);

        // The recorder stamps every read; the read that came with the least delay places sample 0 in time.
        const QString sink = qEnvironmentVariable("TONIQUE_NULL_SINK");
        QProcess recorder;
        QByteArray heardBytes;
        double sampleZeroAtMs = 1e300;
        connect(&recorder, &QProcess::readyReadStandardOutput, this, [&] {
            heardBytes += recorder.readAllStandardOutput();
            sampleZeroAtMs = std::min(sampleZeroAtMs, notices.nowMs() - heardBytes.size() / 16.0);
        });
        if (!sink.isEmpty()) {
            recorder.start("parec", {"--raw", "--rate=8000", "--channels=1", "--format=s16le", "--latency-msec=5", "-d",
                                     sink + ".monitor"});
            QVERIFY2(recorder.waitForStarted(5000), "parec does not start");
            QTest::qWait(500); // the recording stream settles
        }

        const double playAtMs = notices.nowMs();
        player.play();
        QCOMPARE(player.playsSilently(), sink.isEmpty());
        QTRY_COMPARE_WITH_TIMEOUT(notices.log.count(u'E'), 1, 10000);
        QTest::qWait(400);
        // Five status notices in 1180 ms at 200 ms (a sixth when the sound starts late), then the end.
        QVERIFY2(notices.log == QStringLiteral("uuuuuE") || notices.log == QStringLiteral("uuuuuuE"),
                 qPrintable(notices.log));

        if (sink.isEmpty()) {
            const double endMs = notices.endedAtMs - playAtMs - player.lengthMs();
            std::printf("silent clock: end notice %+.1f ms from the file's length (%lld ms)\n", endMs,
                        qlonglong(player.lengthMs()));
            QVERIFY2(std::abs(endMs) < 50, qPrintable(QString::number(endMs)));
            return;
        }
        recorder.terminate();
        QVERIFY(recorder.waitForFinished(5000));
        const std::vector<Burst> expected = findBursts(data);
        const std::vector<Burst> heard = findBursts(heardBytes);
        QCOMPARE(heard.size(), expected.size());
        const qint64 shift = heard[0].first - expected[0].first;
        for (size_t i = 0; i < heard.size(); ++i) {
            const double lengthOff = ((heard[i].last - heard[i].first) - (expected[i].last - expected[i].first)) / 8.0;
            const double onsetOff = (heard[i].first - expected[i].first - shift) / 8.0;
            const QString off =
                QStringLiteral("burst %1: length %2 ms, onset %3 ms off").arg(i).arg(lengthOff).arg(onsetOff);
            QVERIFY2(std::abs(lengthOff) <= 15 && std::abs(onsetOff) <= 15, qPrintable(off));
        }
        const double firstSoundMs = sampleZeroAtMs + shift / 8.0 - playAtMs;
        const double endMs = notices.endedAtMs - (sampleZeroAtMs + (heard.back().last + 1) / 8.0);
        std::printf("null sink: Play -> first sound %.1f ms (goal <= 50), end notice %+.1f ms from the last tone "
                    "sample (goal within 30)\n",
                    firstSoundMs, endMs);
        QVERIFY2(firstSoundMs > -20 && firstSoundMs < 300 && std::abs(endMs) < 300, "gross timing failure");
    }

    // The sound server drops the player in the middle of a playback: the playback goes on silently from where the
    // sound was and ends when the sound would have ended, not seconds later.
    void outputLost_endsOnTime()
    {
        if (qEnvironmentVariableIsEmpty("TONIQUE_NULL_SINK"))
            QSKIP("needs the test's own sound server (scripts/lib/pulse.sh)");
        QTemporaryDir dir;
        AudioSinkPlayer player;
        player.setFileName(dir.filePath(QStringLiteral("TEST.wav")));
        QVERIFY(TestWav::write(player.fileName(), TestWav::file(TestWav::bursts({2000}))) && !player.open());
        Notices notices;
        player.setListener(&notices);
        const double playAtMs = notices.nowMs();
        player.play();
        QVERIFY(!player.playsSilently());
        QTest::qWait(700);
        // Every connection of this process to the sound server is cut, as when the server stops.
        QProcess pactl;
        pactl.start("pactl", {"list", "clients"});
        QVERIFY(pactl.waitForFinished(5000));
        const QString pid = QString::number(QCoreApplication::applicationPid());
        int cut = 0;
        for (const QString& client : QString::fromUtf8(pactl.readAllStandardOutput()).split("Client #")) {
            if (client.contains(QStringLiteral("application.process.id = \"%1\"").arg(pid))) {
                // One cut may take the others down with it: a later one may find its client gone.
                cut += QProcess::execute("pacmd", {"kill-client", client.section(u'\n', 0, 0).trimmed()}) == 0;
            }
        }
        QVERIFY(cut > 0);
        QTRY_VERIFY_WITH_TIMEOUT(player.playsSilently(), 2000);
        QVERIFY2(player.positionMs() >= 500, qPrintable(QString::number(player.positionMs())));
        QTRY_COMPARE_WITH_TIMEOUT(notices.log.count(u'E'), 1, 5000);
        const double endMs = notices.endedAtMs - playAtMs - 2000;
        std::printf("sound server lost after 700 ms: end notice %+.1f ms from the file's length\n", endMs);
        QVERIFY2(std::abs(endMs) < 300, qPrintable(QString::number(endMs)));
    }
};

TONIQUE_TEST(TestPlayerListening, Widgets)

#include "tst_playerlistening.moc"
