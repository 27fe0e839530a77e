#include "TestMain.h"
#include "fakes/ScriptedRandomSource.h"
#include "fakes/TestApp.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace {

QStringList items(const QAbstractItemModel* model)
{
    QStringList texts;
    for (int row = 0; row < model->rowCount(); ++row)
        texts << model->index(row, 0).data().toString();
    return texts;
}

// The window on a random stream that picks, in turn, the given characters of `set`.
struct DrillApp
{
    DrillApp(const QString& set, const QString& picks)
    {
        for (const QChar c : picks)
            random.script << (set.indexOf(c) + 0.5) / set.size();
        TestApp::Options options;
        options.random = &random;
        app = std::make_unique<TestApp>(options);
        app->ui().TEXT1->setEditText(set);
        random.position = random.draws = 0;
        app->player.commands.clear();
    }
    ScriptedRandomSource random;
    std::unique_ptr<TestApp> app;
};

} // namespace

class TestDrillWindow : public QObject
{
    Q_OBJECT

private slots:
    // One round: render alone, play, end notice, ticks, a wrong key, the right key in the other case, the next one.
    void roundTrip()
    {
        DrillApp drill(QStringLiteral("abc"), QStringLiteral("bc"));
        TestApp& app = *drill.app;
        Form& ui = app.ui();
        ui.TP->setText(QStringLiteral("77"));
        ui.Clavier->trigger();
        QCOMPARE(ui.Label18->text(), "MAX = 231Ms");
        QVERIFY(!ui.Frame2->isHidden() && ui.Check2->isChecked());
        QCOMPARE(app.exercise().text() + ui.Label19->text(), "bb");
        QCOMPARE(app.player.commands.last(), "Play");
        QVERIFY(ui.Text25->isHidden() && !app.serial.opened); // no count-down, no keying
        QCOMPARE(ui.Text9->text() + ui.Text4->text(), "VVV+");
        QFile txt(app.folder() + "/TEST.txt");
        QVERIFY(txt.open(QIODevice::ReadOnly) && txt.readAll().startsWith("b\r")); // rendered without the marks

        app.player.finish();
        QVERIFY(ui.Timer3->isActive());
        for (int i = 0; i < 23; ++i)
            app.tick(app.ui().Timer3);
        QTest::keyClicks(ui.Text17, "x");
        QCOMPARE(ui.Text17->text(), QString());
        app.tick(app.ui().Timer3); // the counter runs on after a wrong key
        QTest::keyClicks(ui.Text17, "B");
        QVERIFY(!ui.Timer3->isActive());
        QCOMPARE(ui.Combo2->itemText(0), "0240 b");
        QCOMPARE(app.exercise().text(), "c");
        QCOMPARE(app.player.commands.count("Play"), 2);

        // Answered before its sound ended: the sound is withdrawn, and no count runs while the next one plays.
        ui.Text27->setText(QStringLiteral("0"));
        QTest::keyClicks(ui.Text17, "c");
        QVERIFY(!ui.Timer3->isActive() && app.player.isPlaying());
        QCOMPARE(app.player.ends, 2);

        ui.Command11->click();
        QVERIFY(ui.Frame2->isHidden() && !ui.Check2->isChecked());
    }

    // Started from the settings view, the drill shows over the settings panel; "Fin" goes back to it.
    void fromSettingsView()
    {
        DrillApp drill(QStringLiteral("abc"), QStringLiteral("a"));
        Form& ui = drill.app->ui();
        ui.afff->trigger();
        ui.Clavier->trigger();
        QWidget* seen = ui.central->childAt(ui.Label19->mapTo(ui.central, ui.Label19->rect().center()));
        QVERIFY(seen == ui.Label19);
        ui.Command11->click();
        QVERIFY(ui.Frame2->isHidden() && ui.Frame1->isVisible());
    }

    // Five-digit times rank by text among four-digit ones, equal times by character; the last item is shown.
    void ranking()
    {
        const QList<std::pair<int, QString>> rounds{{1100, "z"}, {990, "x"}, {10230, "y"}, {230, "e"}, {230, "a"}};
        DrillApp drill(QStringLiteral("aexyz"), QStringLiteral("zxyeaa"));
        Form& ui = drill.app->ui();
        ui.Clavier->trigger();
        for (const auto& [ms, c] : rounds) {
            ui.Text27->setText(QString::number(ms));
            ui.Text17->setText(c);
        }
        QCOMPARE(items(ui.Combo2->model()), (QStringList{"0230 a", "0230 e", "0990 x", "10230 y", "1100 z"}));
        QCOMPARE(ui.Combo2->currentIndex(), 4);
    }

    // The drilled character is a whole character that can be typed; after 1001 fruitless draws nothing is drilled.
    void pick_data()
    {
        QTest::addColumn<QString>("set");
        QTest::addColumn<QList<double>>("script");
        QTest::addColumn<QString>("drilled"); // empty: none, the exercise text is left as it was
        QTest::addColumn<int>("draws");
        QTest::newRow("empty set") << QString() << QList<double>{} << QString() << 1001;
        QTest::newRow("blank and control drawn again") << " \a\u200Db" << QList<double>{0.0, 0.3, 0.6, 0.9} << "b" << 4;
        QTest::newRow("blanks only") << " \t\u00A0" << QList<double>{0.5} << QString() << 1001;
        QTest::newRow("whole character") << "a\U0001F600b" << QList<double>{0.5} << "\U0001F600" << 1;
        QTest::newRow("counted once") << "a\U0001F600b" << QList<double>{0.7} << "b" << 1;
    }

    void pick()
    {
        QFETCH(QString, set);
        QFETCH(QString, drilled);
        DrillApp drill(set, QString());
        QFETCH(QList<double>, script);
        drill.random.script = script;
        drill.app->exercise().set(QStringLiteral("avant"));
        drill.app->ui().Clavier->trigger();
        QTEST(int(drill.random.draws), "draws");
        QCOMPARE(drill.app->exercise().text(), drilled.isEmpty() ? QStringLiteral("avant") : drilled);
        QCOMPARE(drill.app->player.commands.contains("Play"), !drilled.isEmpty());
        QCOMPARE(drill.app->ui().Text9->text() + drill.app->ui().Text4->text(), "VVV+");
        QCOMPARE(drill.app->ui().Text9->text(), "VVV");
    }

    void statistics_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("list");
        QTest::newRow("empty") << QString() << QStringList();
        QTest::newRow("cases apart") << "aAa" << QStringList{"001=A", "002=a"};
        QTest::newRow("1000 occurrences") << QString(1000, u'e') + "bb  " << QStringList{"002= ", "002=b", "1000=e"};
        QTest::newRow("outside the page")
            << QStringLiteral("é€\U0001F600?\u0101\0") << QStringList{"001=é", "001=€", "003=?"};
    }
    // Built by Play and again by "Stats": nothing accumulates.
    void statistics()
    {
        QFETCH(QString, text);
        TestApp app;
        app.exercise().set(text);
        app.pressPlay();
        app.ui().Command12->click();
        QTEST(items(app.ui().List1->model()), "list");
    }
};

TONIQUE_TEST(TestDrillWindow, Widgets)
#include "tst_drillwindow.moc"
