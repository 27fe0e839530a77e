#include "TestMain.h"
#include "fakes/TestApp.h"

#include <QLineEdit>
#include <QTest>
#include <QTimer>

class TestTypedPlayback : public QObject
{
    Q_OBJECT

private slots:
    // 10,000 characters pasted leave one per tick, the next only after the end notice, the caret at 500 (the soak
    // benchmark plays them all); the marks are back in their fields.
    void queueWaitsForTheEnd()
    {
        TestApp app;
        Form& ui = app.ui();
        QString pasted;
        for (int i = 0; i < 10000; ++i)
            pasted += QChar(u'a' + i % 26);
        ui.Text26->setText(pasted);
        for (int played = 0; played < 3; ++played) {
            app.tick(app.ui().Timer2);
            app.tick(app.ui().Timer2); // still playing: nothing more leaves
            QCOMPARE(app.exercise().text(), pasted.mid(played, 1));
            QCOMPARE(ui.Text26->cursorPosition(), 500);
            QVERIFY(ui.Text25->isVisibleTo(ui.Text25->parentWidget()) && ui.Timer2->isActive() &&
                    app.player.isPlaying());
            QCOMPARE(ui.Text9->text() + ui.Text4->text(), "VVV+");
            app.player.finish();
        }
        QCOMPARE(ui.Text26->text(), pasted.mid(3));
        QCOMPARE(app.player.commands.count("Play"), 3);
    }

    // Silent characters still end their playback, so the queue goes on; upper case sounds like lower case.
    void sounds_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("sounds");
        QTest::newRow("upper case") << "A" << true;
        QTest::newRow("space") << " " << false;
        QTest::newRow("missing from the sign table") << "#" << false;
    }
    void sounds()
    {
        QFETCH(QString, typed);
        QFETCH(bool, sounds);
        TestApp app;
        app.ui().Text26->setText(typed + typed.toLower() + u'x');
        app.tick(app.ui().Timer2);
        const qint64 length = app.player.lengthMs();
        QCOMPARE(length > 0, sounds);
        app.player.finish();
        app.tick(app.ui().Timer2);
        QCOMPARE(app.player.lengthMs(), length);
        app.player.finish();
        app.tick(app.ui().Timer2);
        QCOMPARE(app.exercise().text(), "x");
    }
};

TONIQUE_TEST(TestTypedPlayback, Widgets)
#include "tst_typedplayback.moc"
