#include "TestMain.h"
#include "common/RandomSource.h"
#include "exercise/CallSign.h"
#include "exercise/DisplayText.h"
#include "exercise/RandomGroups.h"
#include "exercise/TextTools.h"
#include "fakes/ScriptedRandomSource.h"

#include <QBuffer>
#include <QRegularExpression>
#include <QTest>
#include <QTextBoundaryFinder>

namespace {

enum Kind
{
    Letters,
    Figures,
    Any
};

struct Groups
{
    Kind kind;
    QString set, reinforced;
    double count;
    QList<double> script;
    QString expected;
    qsizetype draws;
    bool completed;
};

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

Q_DECLARE_METATYPE(Groups)

// The generators' exact texts and draws for chosen random sequences; reading an opened file.
class TestExerciseCore : public QObject
{
    Q_OBJECT

private slots:
    void groups_data()
    {
        QTest::addColumn<Groups>("g");
        // Letters: the group's first draw places the reinforced character (0.5: third); figures are drawn, rejected.
        const QList<double> abc{0.5, 0.0, 0.6, 0.2, 0.4, 0.9, 0.1, 0.3};
        QTest::newRow("letters") << Groups{Letters, "abc123", "", 1, abc, "abcab ", 8, true};
        QTest::newRow("reinforced") << Groups{Letters, "abc123", "K", 1, abc, "abKab ", 8, true};
        QTest::newRow("accented rejected, case kept")
            << Groups{Letters, "éAz", "", 1, {0.0, 0.0, 0.5, 0.9, 0.5, 0.5, 0.9}, "AzAAz ", 7, true};
        // One reinforcement draw, then 1001 fruitless draws.
        QTest::newRow("no letter") << Groups{Letters, "0123456789", "", 3, abc, "", 1002, false};
        QTest::newRow("figures, no placing draw")
            << Groups{Figures, "a1b2", "", 1, {0.0, 0.3, 0.8, 0.5, 0.3, 0.8, 0.3}, "12121 ", 7, true};
        // A character found at its 1000th draw is kept; the 1001st draw ends everything, found or not, keeping the
        // unfinished group.
        const QList<double> first{0.0};
        QTest::newRow("found at draw 1000") << Groups{
            Figures, "1a", "", 1, first + QList<double>(999, 0.9) + QList<double>(4, 0.0), "11111 ", 1004, true};
        QTest::newRow("stop at draw 1001")
            << Groups{Figures, "1a", "", 2, first + QList<double>(1000, 0.9) + QList<double>(4, 0.0), "1", 1002, false};
        QTest::newRow("DIV") << Groups{Any, "?/", "", 2, {0.0, 0.5, 0.0, 0.5, 0.0}, "?/?/? ?/?/? ", 10, true};
        QTest::newRow("mix") << Groups{Any, "a1?", "", 1, {0.0, 0.4, 0.7, 0.0, 0.99}, "a1?a? ", 5, true};
        // A character beyond 16 bits is one character of the set, picked whole.
        QTest::newRow("whole characters")
            << Groups{Any, "a\U0001F600b", "", 1, {0.5, 0.7, 0.0, 0.99, 0.4}, "\U0001F600bab\U0001F600 ", 5, true};
    }

    void groups()
    {
        QFETCH(Groups, g);
        ScriptedRandomSource random(g.script);
        QString text;
        const TextSink append = [&](QStringView piece) { text += piece; };
        bool done = true;
        if (g.kind == Letters)
            done = AppendLetterGroups(g.count, g.set, g.reinforced, random, append);
        else if (g.kind == Figures)
            done = AppendFigureGroups(g.count, g.set, random, append);
        else
            AppendAnyGroups(g.count, g.set, random, append);
        QCOMPARE(text, g.expected);
        QCOMPARE(random.draws, g.draws);
        QCOMPARE(done, g.completed);
    }

    // Two signs from chosen draws, then the pattern and proportions of many random ones.
    void callSigns()
    {
        const auto sign = [](const QList<double>& script) {
            ScriptedRandomSource random(script);
            const QString s = indicatif(random);
            return random.draws == script.size() ? s : s + QStringLiteral(" after %1 draws").arg(random.draws);
        };
        // a, [prefix letters], b, core, c, [suffix letters], d
        QCOMPARE(sign({0.0, 0.0, 0.1, 0.55, 0.99, 0.5, 0.5, 0.04, 0.08, 0.1}), "A/5ZNBC/MM");
        QCOMPARE(sign({0.1, 0.0, 0.999, 0.3, 0.5, 0.3, 0.5, 0.0, 0.0, 0.15}), "AZ/N3NA/P");
        static const QRegularExpression pattern(
            QStringLiteral("^([A-Z]{1,2}/)?([A-Z][0-9][A-Z]|[0-9][A-Z]{2})([A-Z]{0,2})(/M|/MM|/P)?$"));
        RandomSource random;
        constexpr int N = 20000;
        int prefixed = 0, figureFirst = 0, noSuffix = 0, indicator = 0;
        for (int i = 0; i < N; ++i) {
            const QString s = indicatif(random);
            const QRegularExpressionMatch m = pattern.match(s);
            QVERIFY2(m.hasMatch(), qPrintable(s));
            prefixed += m.hasCaptured(1);
            figureFirst += m.captured(2).front().isDigit();
            noSuffix += m.captured(3).isEmpty();
            indicator += m.hasCaptured(4);
        }
        const auto near = [](int hits, double p) { return qAbs(double(hits) / N - p) < 0.012; };
        QVERIFY(near(prefixed, 2.0 / 15) && near(figureFirst, 1.0 / 5));
        QVERIFY(near(noSuffix, 1.0 / 3) && near(indicator, 3.0 / 15));
    }

    // The view may break a line of the displayed form after white space only, and the form shows the text's
    // characters and nothing else, each line end as one paragraph separator.
    void displayForm_breaksAtWhiteSpaceOnly()
    {
        const QString text = QStringLiteral("ES/C4GDY/MM AB-CD? x!y\ta\u00A0b-c.d 12/34 (a)b \u4E2D\u6587 "
                                            "\U0001F600/\U0001F600 e\u0301/f \"q\"r \u00AD-\u2014x\r\nz\r\rw\nv");
        QString shown = DisplayForm(text);
        QTextBoundaryFinder breaks(QTextBoundaryFinder::Line, shown);
        for (qsizetype b = breaks.toNextBoundary(); b > 0 && b < shown.size(); b = breaks.toNextBoundary())
            QVERIFY2(shown[b - 1].isSpace(), qPrintable(shown.left(b)));
        QString lines = text;
        lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n').replace(u'\n', QChar(0x2029));
        QCOMPARE(shown.remove(DisplayJoiner), lines);
    }

    void readErrorKeepsFinishedLines()
    {
        // The failure falls inside the "é" of the unfinished second line: the first stays UTF-8, the second is lost.
        QByteArray bytes("\xC3\xA9t\xC3\xA9\nd\xC3");
        FailingFile file(&bytes);
        QStringList read;
        QCOMPARE(AppendFileLines(file, [&](QStringView line) { read << line.toString(); }), FileLines::ReadFailed);
        QCOMPARE(read, QStringList{"été"});
    }
};

TONIQUE_TEST(TestExerciseCore, None)
#include "tst_exercisecore.moc"
