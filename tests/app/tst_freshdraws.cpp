// "Exercices toujours nouveaux": the random stream's start from the system's entropy, at start-up only, when the
// user chose it; every draw as before when not.
#include "TestMain.h"
#include "fakes/TestApp.h"

#include <QAction>
#include <QPushButton>
#include <QSet>
#include <QTest>

namespace {

// The letters of the exercise, in order: what a learner hearing it every day would learn by heart.
QString letters(TestApp& app)
{
    QString only;
    for (const QChar c : app.exercise().text())
        if (c.isLetter())
            only += c;
    return only;
}

bool shareARun(const QString& a, const QString& b, int length)
{
    QSet<QString> runs;
    for (qsizetype i = 0; i + length <= a.size(); ++i)
        runs.insert(a.mid(i, length));
    for (qsizetype i = 0; i + length <= b.size(); ++i)
        if (runs.contains(b.mid(i, length)))
            return true;
    return false;
}

} // namespace

class TestFreshDraws : public QObject
{
    Q_OBJECT

private slots:
    // Off (the default): the start-up exercise for a given second is the one the program has always given there, and
    // the entropy is never asked, whatever is done afterwards.
    void off_data()
    {
        QTest::addColumn<int>("second");
        QTest::addColumn<QString>("start");
        QTest::newRow("0 s") << 0 << "ufopg uqjqc pgugt jukkd wkkro xofge ";
        QTest::newRow("37 s") << 37 << "krocx ofged cdpat zspmi esmpy cdenz ";
    }
    void off()
    {
        QFETCH(int, second);
        TestApp::Options options;
        options.startUp = false;
        TestApp app(options);
        app.clock.second = second;
        QVERIFY(!app.window->startUp());
        QVERIFY(!app.find<QAction>("toujoursNouveaux")->isChecked());
        QTEST(app.exercise().text().left(36), "start");
        app.ui().ex1->trigger();
        app.ui().indicatifs->trigger();
        app.ui().Clavier->trigger();
        QCOMPARE(app.entropy.draws, 0);
    }

    // On: four starts give four exercises without a run of ten letters in common; the entropy is asked once, at
    // start-up.
    void on()
    {
        QStringList exercises;
        for (quint32 start = 0; start < 4; ++start) {
            TestApp::Options options;
            options.training = {{"toujoursNouveaux", "true"}};
            options.startUp = false;
            TestApp app(options);
            app.entropy.words.fill(1000 * start);
            QVERIFY(!app.window->startUp());
            QVERIFY(app.find<QAction>("toujoursNouveaux")->isChecked());
            exercises << letters(app);
            app.ui().ex1->trigger();
            app.ui().Clavier->trigger();
            QCOMPARE(app.entropy.draws, 1);
        }
        for (int i = 0; i < 4; ++i)
            for (int j = i + 1; j < 4; ++j)
                QVERIFY2(!shareARun(exercises[i], exercises[j], 10), qPrintable(exercises[i] + u'\n' + exercises[j]));
    }

    // The choice is kept for the next start, and the item says when it takes effect.
    void choiceKept()
    {
        TestApp app;
        QAction* item = app.find<QAction>("toujoursNouveaux");
        QVERIFY(item->toolTip().contains(QStringLiteral("prochain démarrage")));
        item->trigger();
        QCOMPARE(app.training.values.value("toujoursNouveaux"), QStringLiteral("true"));
        QCOMPARE(app.entropy.draws, 0); // not before the next start
        item->trigger();
        QCOMPARE(app.training.values.value("toujoursNouveaux"), QStringLiteral("false"));
    }
};

TONIQUE_TEST(TestFreshDraws, Widgets)
#include "tst_freshdraws.moc"
