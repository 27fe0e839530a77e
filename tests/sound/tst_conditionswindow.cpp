// The window "Conditions de réception" on the fakes: what a change keeps, withdraws and renders, and the stored
// conditions at start-up.
#include "TestMain.h"
#include "fakes/TestApp.h"
#include "fakes/TestWav.h"
#include "sound/PlayerView.h"

#include <QAction>
#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QtTest>

using Stored = QMap<QString, QString>;

namespace {

QByteArray prepared(TestApp& app)
{
    app.ui().Command3->click();
    return TestWav::read(app.folder() + "/TEST.wav");
}

// The window opened from its menu item, as the user does: it is made then.
void openConditions(TestApp& app)
{
    app.find<QAction>(QStringLiteral("conditions"))->trigger();
}

QLabel* mark(TestApp& app)
{
    return app.find<QLabel>(QStringLiteral("conditionsIndicator"));
}

} // namespace

class TstConditionsWindow : public QObject
{
    Q_OBJECT

private slots:
    void opensFromTheTrainingMenu()
    {
        TestApp app;
        QVERIFY(!app.find<QWidget>(QStringLiteral("frmConditions"))); // made when first opened
        auto* item = app.find<QAction>(QStringLiteral("conditions"));
        QVERIFY(item && app.ui().entrainement->actions().contains(item));
        QCOMPARE(item->text(), QStringLiteral("Conditions de &réception..."));
        item->trigger();
        auto* window = app.find<QWidget>(QStringLiteral("frmConditions"));
        QVERIFY(window->isVisible() && !window->isModal());
        QCOMPARE(window->windowTitle(), QStringLiteral("Conditions de réception"));
        for (QCheckBox* tick : window->findChildren<QCheckBox*>())
            QVERIFY(!tick->isChecked());
        QVERIFY(!mark(app)->isVisibleTo(app.ui().MMControl1));
    }

    // A tick or a value: what the store keeps, whether the prepared sound is withdrawn, what the player's mark says.
    void change_data()
    {
        QTest::addColumn<QString>("tick"); // ticked first, when not empty
        QTest::addColumn<QString>("box");  // then set to `value`, when not empty
        QTest::addColumn<double>("value");
        QTest::addColumn<Stored>("stored");   // among what the store holds
        QTest::addColumn<bool>("withdrawn");  // "Préparer La Musique" shown again
        QTest::addColumn<QString>("tooltip"); // of the player; empty: no mark
        QTest::newRow("noise ticked") << "bruit"
                                      << "" << 0.0 << Stored{{"bruit_actif", "1"}, {"bruit", "10"}} << true
                                      << "Conditions de réception\u202F: Bruit 10\u202FdB";
        QTest::newRow("value of an unticked condition")
            << ""
            << "qsb1" << 80.0 << Stored{{"qsb", "80,8"}, {"qsb_actif", "0"}} << false << "";
        QTest::newRow("value of a ticked condition")
            << "qrm"
            << "qrm2" << -12.0 << Stored{{"qrm", "250,-12"}, {"qrm_actif", "1"}} << true
            << "Conditions de réception\u202F: Brouillage (QRM) 250\u202FHz \u221212\u202FdB";
    }
    void change()
    {
        QFETCH(QString, tick);
        QFETCH(QString, box);
        QFETCH(double, value);
        QFETCH(Stored, stored);
        TestApp app;
        openConditions(app);
        app.ui().Command3->click();
        if (!tick.isEmpty())
            app.find<QCheckBox>(tick)->click();
        if (!box.isEmpty()) {
            app.ui().Command3->click();
            app.find<QDoubleSpinBox>(box)->setValue(value);
        }
        for (auto [key, text] : stored.asKeyValueRange())
            QCOMPARE(app.conditionsSettings.values.value(key), text);
        QTEST(!app.ui().Command3->isHidden(), "withdrawn");
        QTEST(app.ui().MMControl1->toolTip(), "tooltip");
        QCOMPARE(mark(app)->isVisibleTo(app.ui().MMControl1), !app.ui().MMControl1->toolTip().isEmpty());
    }

    // Every rendering of the window goes through the conditions; unticked, the clean bytes come back.
    void renderingFollowsTheTicks()
    {
        TestApp app;
        const QByteArray clean = prepared(app);
        openConditions(app);
        app.find<QCheckBox>(QStringLiteral("manuel"))->click();
        const QByteArray hand = prepared(app);
        QVERIFY(!hand.isEmpty() && hand != clean);
        app.find<QCheckBox>(QStringLiteral("manuel"))->click();
        QVERIFY(prepared(app) == clean);
    }

    // Stored conditions apply from the first exercise of the start-up; one that cannot be read stays off, with a
    // notice.
    void storedAtStartUp_data()
    {
        QTest::addColumn<Stored>("conditions");
        QTest::addColumn<bool>("ticked");
        QTest::addColumn<QString>("warning");
        QTest::newRow("soft edges of 3 ms") << Stored{{"fronts_actif", "1"}, {"fronts", "3"}} << true << "";
        QTest::newRow("unreadable, ticked")
            << Stored{{"fronts_actif", "1"}, {"fronts", "trois"}} << false
            << "Valeur non numérique pour la condition enregistrée «\u202Ffronts\u202F»";
    }
    void storedAtStartUp()
    {
        QFETCH(Stored, conditions);
        QFETCH(bool, ticked);
        QFETCH(QString, warning);
        TestApp clean;
        TestApp::Options options;
        options.conditions = conditions;
        TestApp app(options);
        QVERIFY(!app.startUpError);
        openConditions(app);
        QCOMPARE(app.find<QCheckBox>(QStringLiteral("fronts"))->isChecked(), ticked);
        QCOMPARE(app.find<QDoubleSpinBox>(QStringLiteral("fronts1"))->value(), ticked ? 3.0 : 5.0);
        QCOMPARE(TestWav::read(app.folder() + "/TEST.wav") != TestWav::read(clean.folder() + "/TEST.wav"), ticked);
        QCOMPARE(app.messages.warnings.join(u'\n').contains(warning), true);
        QCOMPARE(app.messages.warnings.isEmpty(), warning.isEmpty());
    }
};

TONIQUE_TEST(TstConditionsWindow, Widgets)
#include "tst_conditionswindow.moc"
