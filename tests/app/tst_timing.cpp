#include "TestMain.h"
#include "fakes/BuildFolder.h"
#include "signs/SignTable.h"
#include "timing/Timing.h"

#include <QFile>
#include <QTest>

class TestTiming : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void dotLength_data();
    void dotLength();
    void speedHeard_data();
    void speedHeard();
    void missingCharacter();
    void noPositiveDivisor_data();
    void noPositiveDivisor();

private:
    SignTable m_signs;
};

void TestTiming::initTestCase()
{
    const SignFile file = LoadSignFile(BuildFolder::file("telkey.ref"));
    QCOMPARE(file.status, SignFile::Status::Loaded);
    m_signs = file.table;
}

void TestTiming::dotLength_data()
{
    QTest::addColumn<QString>("word");
    QTest::addColumn<double>("wpm");
    QTest::addColumn<double>("espa");
    QTest::addColumn<double>("espb");
    QTest::addColumn<double>("espc");
    QTest::addColumn<double>("dash");
    QTest::addColumn<double>("wordDots");
    QTest::addColumn<double>("dotMs");
    QTest::newRow("defaults") << "PARIS" << 12.0 << 1.0 << 3.0 << 9.0 << 3.0 << 43.0 << 60000.0 / 614;
    QTest::newRow("lower case word") << "paris" << 12.0 << 1.0 << 3.0 << 9.0 << 3.0 << 43.0 << 60000.0 / 614;
    QTest::newRow("5 wpm") << "PARIS" << 5.0 << 1.0 << 3.0 << 9.0 << 3.0 << 43.0 << 240.0;
    QTest::newRow("CODEX") << "CODEX" << 12.0 << 1.0 << 3.0 << 9.0 << 3.0 << 53.0 << 60000.0 / (12 * 53 + 99 - 1);
    // Empty word: W = -espb, D = -wpm * espb + (wpm - 1) * espc - espa = 62.
    QTest::newRow("empty word") << "" << 12.0 << 1.0 << 3.0 << 9.0 << 3.0 << -3.0 << 60000.0 / 62;
    // Every spacing enters: dashes of 4 dots (P .--. = 1+4+4+1 + 3 gaps = 13, A 6, R 8, I 3, S 5), character
    // gaps of 5 (4 of them), word gaps of 7 (9 in the minute of 10 words).
    QTest::newRow("dash 4, espb 5, espc 7")
        << "PARIS" << 10.0 << 1.0 << 5.0 << 7.0 << 4.0 << 55.0 << 60000.0 / (10 * 55 + 9 * 7 - 1);
    // Element gaps of 2: C -.-. = 3+1+3+1 + 3 * 2 = 14, O 13, D 9, E 1, X 14, plus 4 gaps of 3.
    QTest::newRow("CODEX, espa 2") << "CODEX" << 20.0 << 2.0 << 3.0 << 8.0 << 3.0 << 63.0
                                   << 60000.0 / (20 * 63 + 19 * 8 - 2);
}

void TestTiming::dotLength()
{
    QFETCH(QString, word);
    QFETCH(double, wpm);
    QFETCH(double, espa);
    QFETCH(double, espb);
    QFETCH(double, espc);
    QFETCH(double, dash);
    QFETCH(double, wordDots);
    QFETCH(double, dotMs);
    const DotLengthResult r = DotLengthOf(TimingFields{word, espa, espb, espc, dash, wpm}, m_signs);
    QCOMPARE(r.wordDots, wordDots);
    QCOMPARE(r.status, DotLengthResult::Status::Ok);
    QCOMPARE(r.dotMs, dotMs);
    // The speed heard from that dot length is the speed it was computed from.
    const std::optional<double> heard = SpeedOfDotLength(dotMs, TimingFields{word, espa, espb, espc, dash, 0}, m_signs);
    QVERIFY(heard && qAbs(*heard - wpm) < 1e-9);
}

void TestTiming::speedHeard_data()
{
    QTest::addColumn<QString>("word");
    QTest::addColumn<double>("dotMs");
    QTest::addColumn<double>("wpm"); // 0: no speed gives that dot
    // A dot of 60 ms typed with the default settings: D = 1000 = 43 wpm + 9 (wpm - 1) - 1, wpm = 1010 / 52.
    QTest::newRow("60 ms, defaults") << "PARIS" << 60.0 << 1010.0 / 52;
    QTest::newRow("60 ms, CODEX") << "CODEX" << 60.0 << 1010.0 / 62;
    QTest::newRow("word not measured") << "P#" << 60.0 << 0.0;
    QTest::newRow("no dot length") << "PARIS" << 0.0 << 0.0;
}

void TestTiming::speedHeard()
{
    QFETCH(QString, word);
    QFETCH(double, dotMs);
    QFETCH(double, wpm);
    const std::optional<double> heard = SpeedOfDotLength(dotMs, TimingFields{word}, m_signs);
    QCOMPARE(heard.value_or(0), wpm);
    if (dotMs == 60.0 && word == u"PARIS")
        QCOMPARE(QString::number(*heard, 'f', 1), "19.4");
}

void TestTiming::missingCharacter()
{
    for (const QString& word : {QStringLiteral("PAR IS"), QStringLiteral("P#"), QStringLiteral("Ü")}) {
        TimingFields f{word};
        QCOMPARE(DotLengthOf(f, m_signs).status, DotLengthResult::Status::MissingCharacter);
    }
}

void TestTiming::noPositiveDivisor_data()
{
    QTest::addColumn<double>("wpm");
    QTest::addColumn<double>("espc");
    QTest::newRow("speed 0") << 0.0 << 9.0;
    QTest::newRow("speed negative") << -3.0 << 9.0;
    QTest::newRow("1 wpm, no word gap, negative word") << 1.0 << 0.0;
}

void TestTiming::noPositiveDivisor()
{
    QFETCH(double, wpm);
    QFETCH(double, espc);
    // "" gives W = -espb: with 1 wpm D = -3 - 1.
    TimingFields f{wpm == 1.0 ? QString() : QStringLiteral("PARIS"), 1, 3, espc, 3, wpm};
    QCOMPARE(DotLengthOf(f, m_signs).status, DotLengthResult::Status::NoDivisor);
}

TONIQUE_TEST(TestTiming, None)
#include "tst_timing.moc"
