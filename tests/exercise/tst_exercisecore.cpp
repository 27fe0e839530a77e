#include "app/RandomSource.h"
#include "exercise/CallSign.h"
#include "exercise/RandomGroups.h"
#include "exercise/TextTools.h"
#include "fakes/ScriptedRandomSource.h"

#include <QBuffer>
#include <QRegularExpression>
#include <QTest>

namespace {

constexpr int Letters = 0, Figures = 1, Any = 2;

QList<double> repeated(double r, int times)
{
    return QList<double>(times, r);
}

// Gives its bytes three at a time, then fails instead of ending.
class FailingFile : public QBuffer
{
public:
    explicit FailingFile(QByteArray* bytes) : QBuffer(bytes) { open(QIODevice::ReadOnly | QIODevice::Unbuffered); }

protected:
    qint64 readData(char* data, qint64 max) override
    {
        const qint64 n = QBuffer::readData(data, std::min<qint64>(max, 3));
        return n > 0 ? n : -1;
    }
};

} // namespace

// The generators' exact texts and draws for chosen random sequences; reading an opened file.
class TestExerciseCore : public QObject
{
    Q_OBJECT

private slots:
    void groups_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("set");
        QTest::addColumn<QString>("reinforced");
        QTest::addColumn<double>("count");
        QTest::addColumn<QList<double>>("script");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<int>("draws");
        QTest::addColumn<bool>("completed");

        const auto row = [](const char* tag, int kind, QString set, QString reinforced, double count,
                            QList<double> script, QString expected, int draws, bool completed) {
            QTest::newRow(tag) << kind << set << reinforced << count << script << expected << draws << completed;
        };
        // Letters: the group's first draw places the reinforced character (0.5: third); figures are drawn, rejected.
        const QList<double> abc{0.5, 0.0, 0.6, 0.2, 0.4, 0.9, 0.1, 0.3};
        row("letters", Letters, "abc123", "", 1, abc, "abcab ", 8, true);
        row("reinforced", Letters, "abc123", "K", 1, abc, "abKab ", 8, true);
        row("accented rejected, case kept", Letters, "éAz", "", 1, {0.0, 0.0, 0.5, 0.9, 0.5, 0.5, 0.9}, "AzAAz ", 7,
            true);
        // One reinforcement draw, then 1001 fruitless draws.
        row("no letter", Letters, "0123456789", "", 3, abc, "", 1002, false);
        row("figures, no placing draw", Figures, "a1b2", "", 1, {0.0, 0.3, 0.8, 0.5, 0.3, 0.8, 0.3}, "12121 ", 7, true);
        // A character found at its 1000th draw is kept; the 1001st draw ends everything, found or not, keeping the
        // unfinished group.
        row("found at draw 1000", Figures, "1a", "", 1, QList<double>{0.0} + repeated(0.9, 999) + repeated(0.0, 4),
            "11111 ", 1004, true);
        row("stop at draw 1001", Figures, "1a", "", 2, QList<double>{0.0} + repeated(0.9, 1000) + repeated(0.0, 4), "1",
            1002, false);
        row("DIV", Any, "?/", "", 2, {0.0, 0.5, 0.0, 0.5, 0.0}, "?/?/? ?/?/? ", 10, true);
        row("mix", Any, "a1?", "", 1, {0.0, 0.4, 0.7, 0.0, 0.99}, "a1?a? ", 5, true);
    }

    void groups()
    {
        QFETCH(int, kind);
        QFETCH(QString, set);
        QFETCH(QString, reinforced);
        QFETCH(double, count);
        QFETCH(QList<double>, script);
        QFETCH(QString, expected);
        QFETCH(int, draws);
        QFETCH(bool, completed);

        ScriptedRandomSource random(script);
        QString text;
        const TextSink append = [&](QStringView piece) { text += piece; };
        bool done = true;
        if (kind == Letters)
            done = AppendLetterGroups(count, set, reinforced, random, append);
        else if (kind == Figures)
            done = AppendFigureGroups(count, set, random, append);
        else
            AppendAnyGroups(count, set, random, append);
        QCOMPARE(text, expected);
        QCOMPARE(random.draws, draws);
        QCOMPARE(done, completed);
    }

    void callSign_data()
    {
        QTest::addColumn<QList<double>>("script");
        QTest::addColumn<QString>("expected");
        // a, [prefix letters], b, core, c, [suffix letters], d
        QTest::newRow("one-letter prefix, figure first, /MM")
            << QList<double>{0.0, 0.0, 0.1, 0.55, 0.99, 0.5, 0.5, 0.04, 0.08, 0.1} << "A/5ZNBC/MM";
        QTest::newRow("two-letter prefix, /P")
            << QList<double>{0.1, 0.0, 0.999, 0.3, 0.5, 0.3, 0.5, 0.0, 0.0, 0.15} << "AZ/N3NA/P";
    }

    void callSign()
    {
        QFETCH(QList<double>, script);
        QFETCH(QString, expected);
        ScriptedRandomSource random(script);
        QCOMPARE(indicatif(random), expected);
        QCOMPARE(random.draws, script.size());
    }

    void callSignShapeAndProportions()
    {
        static const QRegularExpression pattern(
            QStringLiteral("^([A-Z]{1,2}/)?([A-Z][0-9][A-Z]|[0-9][A-Z]{2})([A-Z]{0,2})(/M|/MM|/P)?$"));
        RandomSource random;
        constexpr int N = 20000;
        int prefixed = 0, figureFirst = 0, noSuffix = 0, indicator = 0;
        for (int i = 0; i < N; ++i) {
            const QString sign = indicatif(random);
            const QRegularExpressionMatch m = pattern.match(sign);
            QVERIFY2(m.hasMatch(), qPrintable(sign));
            prefixed += m.hasCaptured(1);
            figureFirst += m.captured(2).front().isDigit();
            noSuffix += m.captured(3).isEmpty();
            indicator += m.hasCaptured(4);
        }
        const auto near = [](int hits, double p) { return qAbs(double(hits) / N - p) < 0.012; };
        QVERIFY(near(prefixed, 2.0 / 15));
        QVERIFY(near(figureFirst, 1.0 / 5));
        QVERIFY(near(noSuffix, 1.0 / 3));
        QVERIFY(near(indicator, 3.0 / 15));
    }

    void readErrorKeepsFinishedLines()
    {
        // The failure falls inside the "é" of the unfinished second line: the first stays UTF-8, the second is lost.
        QByteArray bytes("\xC3\xA9t\xC3\xA9\nd\xC3");
        FailingFile file(&bytes);
        QStringList read;
        QVERIFY(!AppendFileLines(file, [&](QStringView line) { read << line.toString(); }));
        QCOMPARE(read, QStringList{"été"});
    }
};

QTEST_APPLESS_MAIN(TestExerciseCore)
#include "tst_exercisecore.moc"
