#include "fakes/TestApp.h"
#include "platform/QtSerialPort.h"
#include "ptt/PttController.h"

#include <QApplication>
#include <QCheckBox>
#include <QHelpEvent>
#include <QLineEdit>
#include <QTest>

class TestPttWindow : public QObject
{
    Q_OBJECT

private slots:
    // Play keys the line when CK is ticked and the end releases it; unticked, the port is never touched.
    void keying_data()
    {
        QTest::addColumn<bool>("ticked");
        QTest::addColumn<QStringList>("log");
        QTest::newRow("ticked") << true << QStringList{"open 1", "rts 1", "rts 0", "close"};
        QTest::newRow("unticked") << false << QStringList();
    }
    void keying()
    {
        QFETCH(bool, ticked);
        QFETCH(QStringList, log);
        TestApp app;
        app.ui().CK->setChecked(ticked);
        app.serial.log.clear();
        app.player.pressPlay();
        QCOMPARE(app.serial.rts, ticked);
        app.player.finish();
        QCOMPARE(app.serial.log, log);
        QVERIFY(!app.serial.opened && !app.serial.rts);
    }

    // Unticked while keyed: the line stays up until a key-up with CK ticked again.
    void untickedWhileKeyed()
    {
        TestApp app;
        PttController& ptt = *app.ctx().ptt;
        app.ui().CK->setChecked(true);
        ptt.Command15Click();
        app.ui().CK->setChecked(false);
        ptt.Command16Click();
        QVERIFY(app.serial.opened && app.serial.rts);
        app.ui().CK->setChecked(true);
        ptt.Command16Click();
        QVERIFY(!app.serial.opened);
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
            app.player.pressPlay();
            QVERIFY(app.player.isPlaying() && !app.serial.opened);
            app.player.finish();
        }
        QCOMPARE(app.messages.warnings.size(), 1);
        QVERIFY(app.messages.warnings[0].contains(notice + " : " + app.serial.errorString()));
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

QTEST_MAIN(TestPttWindow)
#include "tst_pttwindow.moc"
