#include "TestMain.h"
#include "fakes/TestApp.h"
#include "platform/QtSerialPort.h"

#include <QApplication>
#include <QCheckBox>
#include <QHelpEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

class TestPttWindow : public QObject
{
    Q_OBJECT

private slots:
    // Steps: + and - tick and untick CK, p and f play and finish, d and u key down and up, ! notes the line's state.
    void keying_data()
    {
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QStringList>("log");
        QTest::newRow("ticked") << "+p!f!" << QStringList{"open 1", "rts 1", "UP", "rts 0", "close", "down"};
        QTest::newRow("unticked: port untouched") << "-p!f!" << QStringList{"down", "down"};
        QTest::newRow("second key-down") << "+dd!u!"
                                         << QStringList{"open 1", "rts 1", "rts 1", "UP", "rts 0", "close", "down"};
        // The line stays up until a key-up with CK ticked again.
        QTest::newRow("unticked while keyed")
            << "+d-u!+u!" << QStringList{"open 1", "rts 1", "UP", "rts 0", "close", "down"};
    }
    void keying()
    {
        QFETCH(QString, steps);
        TestApp app;
        Form& ui = app.ui();
        const QHash<QChar, std::function<void()>> act{
            {u'+', [&] { ui.CK->setChecked(true); }},
            {u'-', [&] { ui.CK->setChecked(false); }},
            {u'p', [&] { app.pressPlay(); }},
            {u'f', [&] { app.player.finish(); }},
            {u'd', [&] { ui.Command15->click(); }},
            {u'u', [&] { ui.Command16->click(); }},
            {u'!', [&] { app.serial.log << (app.serial.rts ? "UP" : "down"); }}};
        app.serial.log.clear();
        for (const QChar step : steps)
            act[step]();
        QTEST(app.serial.log, "log");
    }

    void portNumber_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("port");
        for (const char* kept : {"10", "abc", "0", "", "9.6", "0.4"})
            QTest::newRow(kept) << kept << 5;
        QTest::newRow("3") << "3" << 3;
        QTest::newRow("3,5") << "3,5" << 3;
        QTest::newRow("half to even") << "2.5" << 2;
    }
    void portNumber()
    {
        QFETCH(QString, typed);
        QFETCH(int, port);
        TestApp app;
        app.ui().Text15->setText(QStringLiteral("5"));
        app.ui().Text15->setText(typed);
        QCOMPARE(app.serial.portNumber(), port);
        QHelpEvent hover(QEvent::ToolTip, QPoint(2, 2), app.ui().Text15->mapToGlobal(QPoint(2, 2)));
        QApplication::sendEvent(app.ui().Text15, &hover);
        QVERIFY(app.ui().Text15->toolTip().endsWith(QStringLiteral("le port %1 est /dev/fake%1").arg(port)));
    }

    // A port that cannot key: one French notice naming it and why, playback goes on, nothing held open.
    void failures_data()
    {
        QTest::addColumn<bool>("failOpen");
        QTest::addColumn<QString>("notice");
        QTest::newRow("open") << true << "impossible d'ouvrir le port série 1 (/dev/fake1)";
        QTest::newRow("rts") << false << "le port série 1 (/dev/fake1) refuse de lever la ligne RTS";
    }
    void failures()
    {
        QFETCH(bool, failOpen);
        QFETCH(QString, notice);
        TestApp app;
        app.ui().CK->setChecked(true);
        app.serial.failOpen = failOpen;
        app.serial.failRts = !failOpen;
        for (int round = 0; round < 2; ++round) {
            app.pressPlay();
            QVERIFY(app.player.isPlaying() && !app.serial.opened);
            app.player.finish();
        }
        QCOMPARE(app.messages.warnings.size(), 1);
        QVERIFY(app.messages.warnings[0].contains(notice + "\u202F: " + app.serial.error));
    }

    // Away from Windows: built-in ports, then USB adapters, each family by number; macOS's tty.* twins left out.
    void deviceRule()
    {
        const QStringList found{"/dev/ttyACM0", "/dev/ttyUSB1", "/dev/ttyS10",        "/dev/tty.usbserial-1",
                                "/dev/ttyS2",   "/dev/ttyUSB0", "/dev/cu.usbserial-1"};
        QStringList order;
        for (int number = 1; number <= 7; ++number)
            order << QtSerialPort::deviceForNumber(number, found);
        QCOMPARE(order, (QStringList{"/dev/ttyS2", "/dev/ttyS10", "/dev/ttyUSB0", "/dev/ttyUSB1", "/dev/ttyACM0",
                                     "/dev/cu.usbserial-1", ""}));
    }
};

TONIQUE_TEST(TestPttWindow, Widgets)
#include "tst_pttwindow.moc"
