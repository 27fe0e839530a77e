#include "TestMain.h"
#include "fakes/ScriptedRandomSource.h"
#include "training/LearningOrders.h"
#include "training/Progression.h"
#include "training/TargetedGroups.h"

#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <QTest>

#include <algorithm>
#include <numeric>
#include <random>

using namespace Qt::StringLiterals;

namespace {

const QString Ten = u"abcdefghij"_s;

CharacterWeakness copied(const QString& character, int sent, int wrong, int miscopied = 0)
{
    CharacterWeakness w;
    w.character = character;
    w.sent = sent;
    w.wrong = wrong;
    w.miscopied = miscopied;
    return w;
}

CharacterWeakness missent(const QString& character, int times)
{
    CharacterWeakness w;
    w.character = character;
    w.missent = times;
    return w;
}

CharacterWeakness drilled(const QString& character, double medianMs)
{
    CharacterWeakness w;
    w.character = character;
    w.answers = 20;
    w.medianMs = medianMs;
    return w;
}

// A scripted stream of `n` values spread over [0, 1) in a fixed shuffled order.
ScriptedRandomSource spreadStream(int n)
{
    QList<double> values;
    std::mt19937_64 engine(12345);
    std::uniform_real_distribution<double> uniform(0.0, 1.0);
    for (int i = 0; i < n; ++i)
        values.append(uniform(engine));
    return ScriptedRandomSource(values);
}

// How often each character comes in `groups` targeted groups of `set` with `history`.
QHash<QString, int> drawCounts(const QString& set, const QList<CharacterWeakness>& history, int groups,
                               QString* text = nullptr)
{
    ScriptedRandomSource random = spreadStream(groups * 5);
    QString out;
    AppendTargetedGroups(groups, TargetedDraw(CharacterNeeds(set, history)), random,
                         [&out](QStringView piece) { out += piece; });
    QHash<QString, int> counts;
    for (const QChar c : out) {
        if (c != u' ')
            ++counts[QString(c)];
    }
    if (text)
        *text = out;
    return counts;
}

// One step of a learner's session: a copy marked (on the exercise drawn from `set`), or the offer put off.
struct Step
{
    QString set;
    int characters = 0;
    int errors = 0;
    bool putOff = false;
};

} // namespace

Q_DECLARE_METATYPE(QList<CharacterWeakness>)
Q_DECLARE_METATYPE(QList<Step>)
Q_DECLARE_METATYPE(ProgressionState)

class TestTraining : public QObject
{
    Q_OBJECT

private slots:
    // The need of one character from hand-made histories: errors with one success and one failure assumed, the
    // characters copied in its place, capitals and small letters together, the drill's time against the learner's.
    void needs_data()
    {
        QTest::addColumn<QList<CharacterWeakness>>("history");
        QTest::addColumn<double>("errorRate");
        QTest::addColumn<double>("speedFactor");
        QTest::addColumn<bool>("known");
        QTest::newRow("never heard") << QList<CharacterWeakness>{copied(u"b"_s, 8, 8)} << 0.5 << 1.0 << false;
        QTest::newRow("always right") << QList<CharacterWeakness>{copied(u"a"_s, 8, 0)} << 0.1 << 1.0 << true;
        // Copied in another's place: a quarter of a miss each, over all the times it took part.
        QTest::newRow("wrong and copied for others")
            << QList<CharacterWeakness>{copied(u"a"_s, 10, 2, 4)} << 0.25 << 1.0 << true;
        QTest::newRow("written 27 times for another, never sent: less than unknown")
            << QList<CharacterWeakness>{copied(u"a"_s, 0, 0, 27)} << (7.75 / 29) << 1.0 << true;
        // Sent wrong on the key: a miss of its own, as a copy's; capitals and small letters together.
        QTest::newRow("mis-sent, never copied")
            << QList<CharacterWeakness>{missent(u"A"_s, 2), missent(u"a"_s, 1)} << 0.8 << 1.0 << true;
        QTest::newRow("mis-sent and copied right")
            << QList<CharacterWeakness>{copied(u"a"_s, 6, 0), missent(u"a"_s, 2)} << 0.3 << 1.0 << true;
        QTest::newRow("capitals and small letters together")
            << QList<CharacterWeakness>{copied(u"A"_s, 4, 1), copied(u"a"_s, 4, 2)} << 0.4 << 1.0 << true;
        // The learner's time is the median of the characters' medians: 400 ms here.
        QTest::newRow("drilled slower") << QList<CharacterWeakness>{drilled(u"a"_s, 600), drilled(u"b"_s, 400),
                                                                    drilled(u"c"_s, 300)}
                                        << 0.5 << 1.5 << true;
        QTest::newRow("much slower: at most twice")
            << QList<CharacterWeakness>{drilled(u"a"_s, 3000), drilled(u"b"_s, 400), drilled(u"c"_s, 300)} << 0.5 << 2.0
            << true;
        QTest::newRow("much faster: at least half")
            << QList<CharacterWeakness>{drilled(u"a"_s, 50), drilled(u"b"_s, 400), drilled(u"c"_s, 500)} << 0.5 << 0.5
            << true;
        // The recognition runs weighed the same way: the last 20 right answers timed, a key too soon a miss.
        const auto recognised = [](const QString& c, std::optional<int> ms, bool right, int times) {
            return QList<RecognitionRecord>(times, RecognitionRecord{QDateTime(), c, ms, right});
        };
        QTest::newRow("recognised slower, over the last 20")
            << RecognitionWeaknesses(recognised(u"A"_s, 5000, true, 25) + recognised(u"a"_s, 600, true, 20) +
                                     recognised(u"b"_s, 400, true, 1) + recognised(u"c"_s, 300, true, 1))
            << (1.0 / 47) << 1.5 << true;
        QTest::newRow("recognition keyed too soon")
            << RecognitionWeaknesses(recognised(u"a"_s, 600, true, 2) + recognised(u"a"_s, {}, false, 2) +
                                     recognised(u"b"_s, 400, true, 1) + recognised(u"c"_s, 300, true, 1))
            << 0.5 << 1.5 << true;
        QTest::newRow("copies and drill together")
            << QList<CharacterWeakness>{copied(u"a"_s, 18, 0), drilled(u"a"_s, 800), drilled(u"b"_s, 400)} << 0.05
            << (800.0 / 600.0) << true;
    }
    void needs()
    {
        QFETCH(QList<CharacterWeakness>, history);
        QFETCH(double, errorRate);
        QFETCH(double, speedFactor);
        QFETCH(bool, known);
        const QList<CharacterNeed> needs = CharacterNeeds(u"a"_s, history);
        QCOMPARE(needs.size(), 1);
        QCOMPARE(needs[0].character, u"a"_s);
        QCOMPARE(needs[0].errorRate, errorRate);
        QCOMPARE(needs[0].speedFactor, speedFactor);
        QCOMPARE(needs[0].known(), known);
    }

    // The shares of the draw: a fifth even, the rest by need; the weakest known character is the suggestion.
    void shares()
    {
        const QList<CharacterNeed> needs =
            CharacterNeeds(u"abcb d"_s, {copied(u"a"_s, 8, 8), copied(u"b"_s, 8, 0), copied(u"c"_s, 18, 0)});
        const TargetedDraw draw(needs);
        QCOMPARE(draw.characters(), (QStringList{u"a"_s, u"b"_s, u"c"_s, u"d"_s})); // once each, no space
        const double needA = 0.9, needB = 0.1, needC = 0.05, needD = 0.5, total = needA + needB + needC + needD;
        const QList<double> expected{0.05 + 0.8 * needA / total, 0.05 + 0.8 * needB / total, 0.05 + 0.8 * needC / total,
                                     0.05 + 0.8 * needD / total};
        for (int i = 0; i < 4; ++i)
            QVERIFY2(qAbs(draw.shares()[i] - expected[i]) < 1e-12, qPrintable(draw.characters()[i]));
        // "d" needs more than "a" but nothing is known of it: "a" is proposed. Without "a", nothing: "b" and "c"
        // were always copied right, and a character never heard is not shown weak.
        QCOMPARE(WeakestCharacter(needs)->character, u"a"_s);
        QCOMPARE(WeakestCharacter(needs.mid(1)), nullptr);
        QCOMPARE(WeakestCharacter(CharacterNeeds(u"xyz"_s, {})), nullptr);
        // Copied right but drilled slower than usual: weak.
        QList<CharacterWeakness> slow{copied(u"b"_s, 8, 0), copied(u"c"_s, 8, 0)};
        slow[0].answers = slow[1].answers = 20;
        slow[0].medianMs = 900;
        slow[1].medianMs = 300;
        QCOMPARE(WeakestCharacter(CharacterNeeds(u"bc"_s, slow))->character, u"b"_s);
    }

    // Over 10,000 characters from a set of ten: even without history; with one character missed in every copy it
    // comes half again as often as evenly, but never beyond 15 %, and every other one still comes.
    void drawShares_data()
    {
        QTest::addColumn<QList<CharacterWeakness>>("history");
        QTest::addColumn<QString>("weak");
        QTest::newRow("no history") << QList<CharacterWeakness>{} << QString();
        QList<CharacterWeakness> history;
        for (const QChar c : Ten)
            history.append(copied(QString(c), 40, c == u'g' ? 40 : 0));
        QTest::newRow("g always missed") << history << u"g"_s;
        // Few copies: each character sent five times, "c" missed every time.
        history.clear();
        for (const QChar c : Ten)
            history.append(copied(QString(c), 5, c == u'c' ? 5 : 0));
        QTest::newRow("c missed, one copy") << history << u"c"_s;
        // "b" copied as "c" 27 times: "b" is the one to work on; "c", recognised, comes no more than the others.
        history.clear();
        for (const QChar c : Ten)
            history.append(copied(QString(c), 27, c == u'b' ? 27 : 0, c == u'c' ? 27 : 0));
        QTest::newRow("b copied as c") << history << u"b"_s;
    }
    void drawShares()
    {
        QFETCH(QList<CharacterWeakness>, history);
        QFETCH(QString, weak);
        const QList<double> shares = TargetedDraw(CharacterNeeds(Ten, history)).shares();
        QCOMPARE(std::accumulate(shares.begin(), shares.end(), 0.0), 1.0);
        QVERIFY(*std::max_element(shares.begin(), shares.end()) <= TargetedDraw::MaxShare + 1e-12);
        const QHash<QString, int> counts = drawCounts(Ten, history, 2000);
        QCOMPARE(counts.size(), 10);
        for (const QChar c : Ten) {
            const double share = counts.value(QString(c)) / 10000.0;
            const QByteArray what = (u"%1: %2"_s.arg(c).arg(share)).toUtf8();
            if (weak.isEmpty())
                QVERIFY2(share >= 0.085 && share <= 0.115, what);
            else if (weak == c)
                QVERIFY2(share >= 0.14 && share <= 0.16, what);
            else
                QVERIFY2(share > 0.05 && share < 0.11, what);
        }
    }

    // The picks never leave the set (spaces and repeats in it change nothing); an empty set gives up at the 1001st
    // draw as the letter groups do, having written nothing.
    void drawLimits()
    {
        QString text;
        const QHash<QString, int> counts = drawCounts(u"x y x+"_s, {copied(u"x"_s, 3, 3)}, 200, &text);
        QCOMPARE(QSet<QString>(counts.keyBegin(), counts.keyEnd()), (QSet<QString>{u"x"_s, u"y"_s, u"+"_s}));
        QVERIFY(QRegularExpression(u"^([xy+]{5} ){200}$"_s).match(text).hasMatch());

        for (const QString& empty : {QString(), u"   "_s}) {
            ScriptedRandomSource random({0.5});
            QString out;
            const auto append = [&out](QStringView piece) { out += piece; };
            QVERIFY(!AppendTargetedGroups(3, TargetedDraw(CharacterNeeds(empty, {})), random, append));
            QCOMPARE(random.draws, 1001);
            QCOMPARE(out, QString());
            ScriptedRandomSource letters({0.5});
            QVERIFY(!AppendLetterGroups(3, empty, {}, letters, append));
            QCOMPARE(letters.draws, 1 + 1001); // the reinforced character's place, then the picks
        }
    }

    // The items of TEXT1's list and the next one of each, along its own learning order.
    void learningOrders_data()
    {
        QTest::addColumn<QString>("set");
        QTest::addColumn<QString>("next");
        QTest::newRow("first") << u"egmz0"_s << u"egmz0ahtr1"_s;
        QTest::newRow("second order") << u"eish5ptmo0"_s << u"eish5ptmo08'awj"_s;
        QTest::newRow("to the short last piece")
            << u"0123456789abcdefghijklmnopqrstuvwxyz.,?/"_s << u"0123456789abcdefghijklmnopqrstuvwxyz.,?/+'<*"_s;
        QTest::newRow("end of an order") << u"egmz0ahtr1nujf2idpc3wbyq4xovl5sk786=+?/9"_s << QString();
        QTest::newRow("not an item: a start cut elsewhere") << u"egmz0a"_s << QString();
        QTest::newRow("not an item: capitals") << u"EGMZ0"_s << QString();
        QTest::newRow("not an item: empty") << QString() << QString();
    }
    void learningOrders()
    {
        QFETCH(QString, set);
        QFETCH(QString, next);
        QCOMPARE(NextProgressiveSet(set).value_or(QString()), next);
        const QStringList items = ProgressiveSets();
        QCOMPARE(items.size(), 25);
        if (!next.isEmpty()) {
            QVERIFY(IsProgressiveSet(set) && IsProgressiveSet(next));
            QCOMPARE(items.indexOf(next), items.indexOf(set) + 1);
        }
    }

    // When the offer comes, along a session's copies: the step numbers (from 1) after which it is made.
    void progression_data()
    {
        QTest::addColumn<ProgressionState>("start");
        QTest::addColumn<QList<Step>>("steps");
        QTest::addColumn<QList<int>>("offers");
        const Step good{u"egmz0"_s, 10, 1}, bad{u"egmz0"_s, 19, 2}, later{{}, 0, 0, true};
        const Step elsewhere{u"abcde"_s, 10, 0}, nextItem{u"egmz0ahtr1"_s, 20, 0};
        QTest::newRow("exactly the third") << ProgressionState{} << QList<Step>{good, good, good} << QList<int>{3};
        QTest::newRow("neither taken nor put off: again on the next good copy")
            << ProgressionState{} << QList<Step>{good, good, good, good} << QList<int>{3, 4};
        QTest::newRow("a copy below 90 % starts again")
            << ProgressionState{} << QList<Step>{good, good, bad, good, good, good} << QList<int>{6};
        QTest::newRow("other texts count for nothing and break nothing")
            << ProgressionState{} << QList<Step>{good, elsewhere, good, elsewhere, elsewhere} << QList<int>{};
        QTest::newRow("...then the third on the item")
            << ProgressionState{} << QList<Step>{good, elsewhere, good, elsewhere, good} << QList<int>{5};
        QTest::newRow("another item starts its own count")
            << ProgressionState{} << QList<Step>{good, good, nextItem, good} << QList<int>{};
        QTest::newRow("put off: not again for that item")
            << ProgressionState{} << QList<Step>{good, good, good, later, good, good, bad, good, good, good}
            << QList<int>{3};
        QTest::newRow("put off: the next item still offers")
            << ProgressionState{} << QList<Step>{good, good, good, later, nextItem, nextItem, nextItem}
            << QList<int>{3, 7};
        QTest::newRow("kept over a restart") << ProgressionState{u"egmz0"_s, 2} << QList<Step>{good} << QList<int>{1};
        QTest::newRow("the last item offers nothing")
            << ProgressionState{} << QList<Step>(4, {u"egmz0ahtr1nujf2idpc3wbyq4xovl5sk786=+?/9"_s, 40, 0})
            << QList<int>{};
    }
    void progression()
    {
        QFETCH(ProgressionState, start);
        QFETCH(QList<Step>, steps);
        QFETCH(QList<int>, offers);
        Progression progression(start);
        QList<int> made;
        for (int i = 0; i < steps.size(); ++i) {
            const Step& step = steps[i];
            if (step.putOff) {
                progression.putOff();
                continue;
            }
            if (const std::optional<QString> offer = progression.copyMarked(step.set, step.characters, step.errors)) {
                QCOMPARE(*offer, *NextProgressiveSet(step.set));
                made.append(i + 1);
            }
        }
        QCOMPARE(made, offers);
    }

    // Which exercises count for a set: drawn from its characters, capitals as small letters.
    void drawnFrom_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("counts");
        QTest::newRow("groups of the set") << u"EGMZ0 gg00e\nmmzze"_s << true;
        QTest::newRow("a character outside") << u"egmz0 egmza"_s << false;
        QTest::newRow("call signs") << u"f6abc f5xyz"_s << false;
    }
    void drawnFrom()
    {
        QFETCH(QString, text);
        QFETCH(bool, counts);
        QCOMPARE(DrawnFrom(text, u"egmz0"_s), counts);
    }
};

TONIQUE_TEST(TestTraining, Core)
#include "tst_training.moc"
