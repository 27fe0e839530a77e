#include "Keying.h"
#include "TestMain.h"
#include "sending/MorseDecoder.h"
#include "sending/TimingAnalysis.h"

#include <QTest>

using namespace Qt::StringLiterals;

class TestTimingAnalysis : public QObject
{
    Q_OBJECT

private slots:
    void report_data();
    void report();
    void unmeasured_data();
    void unmeasured();
};

void TestTimingAnalysis::report_data()
{
    QTest::addColumn<double>("dashDots");
    QTest::addColumn<double>("letterGapDots");
    QTest::addColumn<double>("jitter");
    QTest::addColumn<QString>("advice");
    QTest::newRow("by the book") << 3.0 << 3.0 << 0.05
                                 << QStringLiteral(
                                        "Belle manipulation\u202F: les proportions sont justes et régulières.");
    QTest::newRow("dashes too short") << 2.4 << 3.0 << 0.05
                                      << QStringLiteral("Vos traits sont trop courts\u202F: 2,4 points au lieu de 3.");
    QTest::newRow("dashes too long") << 3.8 << 3.0 << 0.05
                                     << QStringLiteral("Vos traits sont trop longs\u202F: 3,8 points au lieu de 3.");
    QTest::newRow("letters too far apart")
        << 3.0 << 4.5 << 0.05
        << QStringLiteral("Vos espaces entre lettres sont trop longs\u202F: 4,5 points au lieu de 3.");
    QTest::newRow("irregular") << 3.0 << 3.0 << 0.45
                               << QStringLiteral(
                                      "Votre rythme est irrégulier\u202F: vos longueurs s’écartent de 29\u202F% "
                                      "de leur moyenne.");
}

void TestTimingAnalysis::report()
{
    QFETCH(double, dashDots);
    QFETCH(double, letterGapDots);
    QFETCH(double, jitter);
    QFETCH(QString, advice);
    const SignTable signs = DeliveredSigns();
    std::mt19937 random(7);
    KeyingStyle style{18, jitter};
    style.dashDots = dashDots;
    style.letterGapDots = letterGapDots;
    MorseDecoder decoder(signs);
    const auto edges = KeyText(signs, RandomText(signs, 300, random), style, random);
    for (const auto& edge : edges)
        decoder.keyEdge(edge);
    decoder.advanceTo(edges.back().time + MicrosecondsPerSecond * 10);
    const TimingReport report = AnalyseTiming(decoder.takeDecoded());
    QCOMPARE(TimingAdvice(report), advice);
    QVERIFY(std::abs(report.dashDotRatio - dashDots) < 0.1);
    QVERIFY(std::abs(report.letterGapRatio - letterGapDots) < 0.2);
    QVERIFY(std::abs(report.elementGapRatio - 1) < 0.1);
    QVERIFY(std::abs(report.weightPercent - 50) < 3);
    // Every dot is counted in the histogram, in the bin of its length: their mean read from the bins is theirs.
    const auto& dots = report.histograms[TimingReport::Dots].counts;
    double binned = 0;
    for (size_t bin = 0; bin < dots.size(); ++bin)
        binned += dots[bin] * static_cast<double>(bin) * LengthHistogram::BinDots;
    QCOMPARE(std::accumulate(dots.begin(), dots.end(), 0), report.counts[TimingReport::Dots]);
    QVERIFY(std::abs(binned / report.counts[TimingReport::Dots] - report.meanDots[TimingReport::Dots]) < 0.13);
}

// A run without dots, without dashes or without characters of several elements has proportions it cannot measure:
// they are said unmeasured, never 0, and the run is not praised for them.
void TestTimingAnalysis::unmeasured_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("shown"); // dash/dot, element gaps, letter gaps
    QTest::newRow("dots alone") << u"e e e"_s << QStringList{u"non mesuré"_s, u"non mesuré"_s, u"non mesuré"_s};
    QTest::newRow("dots in characters") << u"eish ihse"_s << QStringList{u"non mesuré"_s, u"1,0"_s, u"3,0"_s};
    QTest::newRow("dashes alone") << u"tmo omt"_s << QStringList{u"non mesuré"_s, u"non mesuré"_s, u"non mesuré"_s};
}

void TestTimingAnalysis::unmeasured()
{
    QFETCH(QString, text);
    QFETCH(QStringList, shown);
    const SignTable signs = DeliveredSigns();
    std::mt19937 random(7);
    MorseDecoder decoder(signs);
    const auto edges = KeyText(signs, text, KeyingStyle{18, 0}, random);
    for (const auto& edge : edges)
        decoder.keyEdge(edge);
    decoder.advanceTo(edges.back().time + MicrosecondsPerSecond * 10);
    const TimingReport report = AnalyseTiming(decoder.takeDecoded());
    QCOMPARE((QStringList{MeasuredText(report.dashDotRatio), MeasuredText(report.elementGapRatio),
                          MeasuredText(report.letterGapRatio)}),
             shown);
    QVERIFY2(TimingAdvice(report).startsWith(u"Pas assez de signes"_s), qPrintable(TimingAdvice(report)));
}

TONIQUE_TEST(TestTimingAnalysis, None)
#include "tst_timinganalysis.moc"
