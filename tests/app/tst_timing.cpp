#include "app/Timing.h"
#include "signs/SignTable.h"

#include <QFile>
#include <QTest>

class TestTiming : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void dotLength_data();
    void dotLength();
    void missingCharacter();
    void noPositiveDivisor_data();
    void noPositiveDivisor();

private:
    SignTable m_signs;
};

void TestTiming::initTestCase()
{
    const SignFile file = LoadSignFile(QStringLiteral(TONIQUE_SIGN_FILE));
    QCOMPARE(file.status, SignFile::Status::Loaded);
    m_signs = file.table;
}

void TestTiming::dotLength_data()
{
    QTest::addColumn<QString>("word");
    QTest::addColumn<double>("wpm");
    QTest::addColumn<double>("espa");
    QTest::addColumn<double>("dash");
    QTest::addColumn<double>("wordDots");
    QTest::addColumn<double>("dotMs");
    QTest::newRow("defaults") << "PARIS" << 12.0 << 1.0 << 3.0 << 43.0 << 60000.0 / 614;
    QTest::newRow("lower case word") << "paris" << 12.0 << 1.0 << 3.0 << 43.0 << 60000.0 / 614;
    QTest::newRow("5 wpm") << "PARIS" << 5.0 << 1.0 << 3.0 << 43.0 << 240.0;
    QTest::newRow("CODEX") << "CODEX" << 12.0 << 1.0 << 3.0 << 53.0 << 60000.0 / (12 * 53 + 99 - 1);
    // Empty word: W = -espb, D = -wpm * espb + (wpm - 1) * espc - espa = 62.
    QTest::newRow("empty word") << "" << 12.0 << 1.0 << 3.0 << -3.0 << 60000.0 / 62;
    // A longer dash and wider element gap enter W.
    QTest::newRow("dash 4, espa 2") << "e" << 1.0 << 2.0 << 4.0 << 1.0 << 60000.0 / (1 + 0 - 2);
}

void TestTiming::dotLength()
{
    QFETCH(QString, word);
    QFETCH(double, wpm);
    QFETCH(double, espa);
    QFETCH(double, dash);
    QFETCH(double, wordDots);
    QFETCH(double, dotMs);
    TimingFields f{word, espa, 3, 9, dash, wpm};
    const DotLengthResult r = ComputeDotLength(f, m_signs);
    QCOMPARE(r.wordDots, wordDots);
    if (r.minuteDots > 0) {
        QCOMPARE(r.status, DotLengthResult::Status::Ok);
        QCOMPARE(r.dotMs, dotMs);
    } else {
        QCOMPARE(r.status, DotLengthResult::Status::NoDivisor);
    }
}

void TestTiming::missingCharacter()
{
    for (const QString word : {QStringLiteral("PAR IS"), QStringLiteral("P#"), QStringLiteral("Ü")}) {
        TimingFields f{word};
        QCOMPARE(ComputeDotLength(f, m_signs).status, DotLengthResult::Status::MissingCharacter);
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
    QCOMPARE(ComputeDotLength(f, m_signs).status, DotLengthResult::Status::NoDivisor);
}

QTEST_APPLESS_MAIN(TestTiming)
#include "tst_timing.moc"
