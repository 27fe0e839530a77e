// The microphone input. With the test scripts' sound server (TONIQUE_NULL_SINK, from scripts/lib/pulse.sh) a rendered
// hand-sent exercise is played into the null sink, whose monitor is the input, and what the input heard is decoded;
// without a server the input must refuse to start, in French, and leave the keyboard to the learner.

#include "TestMain.h"
#include "inputs/InputTime.h"
#include "inputs/MicrophoneKeyingSource.h"
#include "inputs/StreamClock.h"
#include "marking/EditDistance.h"
#include "sending/Keying.h"
#include "sending/MorseDecoder.h"
#include "sound/RenderExerciseFiles.h"
#include "sound/WavHeader.h"

#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <random>

using namespace Qt::StringLiterals;

namespace {

// The input the sound server's null sink gives: its monitor, remapped to a source of its own since audio inputs
// leave monitors out of their lists, and made the default input.
const QString RemappedSource = u"tonique_micro"_s;

QString Pactl(const QStringList& arguments)
{
    QProcess p;
    p.start(u"pactl"_s, arguments);
    p.waitForFinished(10000);
    return QString::fromUtf8(p.readAllStandardOutput()).trimmed();
}

// `text` rendered hand-sent with soft edges and noise as the window renders an exercise, to a WAV file.
bool RenderHandSent(const QString& path, const SignTable& signs, const QString& text, double wpm)
{
    const SampleRuns runs = *MakeSampleRuns(MakeTonePeriod(700, 64), DotMicroseconds(wpm) / 1000, 1, 3, 7, 0);
    ExerciseRenderer renderer(signs, runs);
    ReceptionConditions conditions;
    conditions.hand = conditions.edges = conditions.noise = true;
    conditions.handPercent = 25;
    conditions.snrDb = 12;
    QByteArray header = MakeWavHeader();
    return !WriteExerciseWav(path, header, renderer, u"", text, u"", {}, {}, {conditions, 5});
}

Characters CharactersOf(const QString& text)
{
    Characters characters;
    for (const char32_t c : text.toLower().toUcs4())
        if (c != U' ')
            characters.push_back(c);
    return characters;
}

} // namespace

class TestMicrophone : public QObject
{
    Q_OBJECT

public:
    static void initMain()
    {
        // Without the test's own sound server, no other server may be reached: the refusal is under test.
        if (qEnvironmentVariableIsEmpty("TONIQUE_NULL_SINK"))
            qputenv("PULSE_SERVER", "unix:/nonexistent/tonique-no-sound-server");
    }

private slots:
    void initTestCase()
    {
        // The test scripts always start the server on the machine that runs them for the record: its absence there
        // is a fault, not a reason to test less.
        if (qEnvironmentVariableIsEmpty("TONIQUE_NULL_SINK") && qEnvironmentVariableIsSet("CI"))
            QFAIL("the test scripts' sound server did not start (scripts/lib/pulse.sh)");
        if (qEnvironmentVariableIsEmpty("TONIQUE_NULL_SINK"))
            return;
        m_module = Pactl({u"load-module"_s, u"module-remap-source"_s, u"source_name="_s + RemappedSource,
                          u"master="_s + qEnvironmentVariable("TONIQUE_NULL_SINK") + u".monitor"_s});
        Pactl({u"set-default-source"_s, RemappedSource});
    }
    void cleanupTestCase()
    {
        if (!m_module.isEmpty())
            Pactl({u"unload-module"_s, m_module});
    }

    void streamClock_placesReads_data();
    void streamClock_placesReads();
    void noServer_refusesInFrench();
    void playedExercise_decoded();
    void serverDropsTheInput_saysSo();

private:
    QString m_module; // the remapped source's, to unload
};

void TestMicrophone::streamClock_placesReads_data()
{
    QTest::addColumn<double>("deviceClock"); // the device's seconds per second of the system's clock
    QTest::addColumn<int>("delayMs");        // the reads come up to this late, at random
    QTest::newRow("steady device, late reads") << 1.0 << 30;
    QTest::newRow("device 0.05 % slow") << 0.9995 << 30;
    QTest::newRow("device 0.05 % fast") << 1.0005 << 30;
    QTest::newRow("device 0.05 % slow, reads always late") << 0.9995 << 0;
}

// Ten minutes of reads every 20 ms, each up to `delayMs` late beyond a steady 15 ms: every sample is placed at
// most 8 ms after the time it reached the reader with the least delay, and never after the read that brought it.
void TestMicrophone::streamClock_placesReads()
{
    QFETCH(double, deviceClock);
    QFETCH(int, delayMs);
    std::mt19937 random(unsigned(deviceClock * 1e6) + unsigned(delayMs));
    std::uniform_int_distribution<KeyTime> delay(0, KeyTime(delayMs) * 1000);
    constexpr KeyTime StartUs = 5'000'000'000, LatencyUs = 15'000, PeriodUs = 20'000;
    StreamClock clock;
    for (KeyTime t = PeriodUs; t <= 600 * MicrosecondsPerSecond; t += PeriodUs) {
        const auto stream = KeyTime(std::llround(double(t) * deviceClock));
        const KeyTime readAt = StartUs + t + LatencyUs + delay(random);
        clock.read(readAt, stream);
        const KeyTime off = clock.toMonotonic(stream) - (StartUs + t + LatencyUs);
        QVERIFY2(clock.toMonotonic(stream) <= readAt, qPrintable(QString::number(t)));
        if (t > 2 * MicrosecondsPerSecond)
            QVERIFY2(off >= -1000 && off <= 8000, qPrintable(QString::number(t) + u": "_s + QString::number(off)));
    }
}

void TestMicrophone::noServer_refusesInFrench()
{
    if (!qEnvironmentVariableIsEmpty("TONIQUE_NULL_SINK"))
        QSKIP("the sound server is there: the input starts (playedExercise_decoded)");
    MicrophoneKeyingSource source;
    QVERIFY(!source.wantsSidetone());
    for (int attempt = 0; attempt < 2; ++attempt) {
        QString failure;
        QVERIFY(!source.start(failure));
        QVERIFY2(failure.endsWith(u"\u202F; le clavier reste utilisable."_s), qPrintable(failure));
    }
    source.stop();
}

// A hand-sent exercise played into the null sink reaches the decoder through the input as it was sent.
void TestMicrophone::playedExercise_decoded()
{
    if (qEnvironmentVariableIsEmpty("TONIQUE_NULL_SINK"))
        QSKIP("needs the test scripts' sound server (scripts/lib/pulse.sh); without it: noServer_refusesInFrench");
    const SignTable signs = DeliveredSigns();
    std::mt19937 random(22);
    const QString text = RandomText(signs, 90, random);
    QTemporaryDir dir;
    const QString wav = dir.filePath(u"x.wav"_s);
    QVERIFY(RenderHandSent(wav, signs, text, 30));

    MicrophoneKeyingSource source;
    std::vector<KeyEdge> edges;
    std::vector<KeyTime> lags; // from the time an edge is stamped with to its arrival on this thread
    connect(&source, &KeyingSource::edge, this, [&](KeyInput input, bool down, KeyTime time) {
        QCOMPARE(input, KeyInput::Straight);
        edges.push_back({time, down});
        lags.push_back(InputTimeNow() - time);
    });
    QString failure;
    QVERIFY2(source.start(failure), qPrintable(failure));
    QTest::qWait(300);
    QProcess player;
    player.start(u"paplay"_s, {u"-d"_s, qEnvironmentVariable("TONIQUE_NULL_SINK"), wav});
    // The edges come while it plays: the events are handled meanwhile.
    QTRY_VERIFY_WITH_TIMEOUT(player.state() == QProcess::NotRunning, 120000);
    QCOMPARE(player.exitCode(), 0);
    QTest::qWait(500);
    source.stop();

    // The window decodes 50 ms behind now: most edges must reach it sooner, and none is stamped in the future.
    std::sort(lags.begin(), lags.end());
    QVERIFY(!lags.empty() && lags.front() >= 0);
    QVERIFY2(lags[lags.size() / 2] < 50'000, qPrintable(QString::number(lags[lags.size() / 2])));

    MorseDecoder decoder(signs);
    for (const KeyEdge& edge : edges)
        decoder.keyEdge(edge);
    decoder.advanceTo((edges.empty() ? 0 : edges.back().time) + 10 * MicrosecondsPerSecond);
    const QString decoded = TextOf(decoder.takeDecoded()).simplified();
    const auto errors = ErrorCount(CharactersOf(text), CharactersOf(decoded));
    const double accuracy = 1 - double(errors) / double(CharactersOf(text).size());
    std::printf("heard through the null sink: %zu edges (median %.1f ms from stamp to arrival), %.1f %% of the "
                "characters right\n",
                edges.size(), double(lags[lags.size() / 2]) / 1000, accuracy * 100);
    QVERIFY2(accuracy >= 0.98, qPrintable(u"sent   "_s + text + u"\ndecoded "_s + decoded));
}

// The server drops the input while it listens: the input says so, once, and sends nothing after.
void TestMicrophone::serverDropsTheInput_saysSo()
{
    if (qEnvironmentVariableIsEmpty("TONIQUE_NULL_SINK"))
        QSKIP("needs the test scripts' sound server (scripts/lib/pulse.sh); without it: noServer_refusesInFrench");
    MicrophoneKeyingSource source;
    QSignalSpy failed(&source, &KeyingSource::failed);
    QString failure;
    QVERIFY2(source.start(failure), qPrintable(failure));
    QTest::qWait(300);
    // Every connection of this process to the sound server is cut, as when the server stops.
    const QString pid = u"application.process.id = \""_s + QString::number(QCoreApplication::applicationPid());
    int cut = 0;
    for (const QString& client : Pactl({u"list"_s, u"clients"_s}).split(u"Client #"_s))
        if (client.contains(pid))
            cut += QProcess::execute(u"pacmd"_s, {u"kill-client"_s, client.section(u'\n', 0, 0).trimmed()}) == 0;
    QVERIFY(cut > 0);
    QTRY_COMPARE_WITH_TIMEOUT(failed.size(), 1, 5000);
    const QString message = failed[0][0].toString();
    QVERIFY2(message.endsWith(u"\u202F; le clavier reste utilisable."_s), qPrintable(message));
    QTest::qWait(200);
    QCOMPARE(failed.size(), 1);
    source.stop();
}

TONIQUE_TEST(TestMicrophone, Core)
#include "tst_microphone.moc"
