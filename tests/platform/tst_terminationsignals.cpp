// Stopping the program from outside (kill, Ctrl+C, a closed terminal) ends the event loop like "Quitter", so that
// the window's closing steps run and a keyed transmitter is released before the process exits.
#include "TestMain.h"
#include "platform/TerminationSignals.h"

#include <QCoreApplication>
#include <QTest>
#include <QTimer>

#include <csignal>

class TstTerminationSignals : public QObject
{
    Q_OBJECT

private slots:
    void signalEndsTheEventLoop_data()
    {
        QTest::addColumn<int>("signal");
        QTest::newRow("kill") << int(SIGTERM);
        QTest::newRow("Ctrl+C") << int(SIGINT);
        QTest::newRow("terminal closed") << int(SIGHUP);
    }

    void signalEndsTheEventLoop()
    {
        QFETCH(int, signal);
        QuitOnTerminationSignals();
        QuitOnTerminationSignals(); // a second call changes nothing
        bool timedOut = false;
        QTimer::singleShot(0, [signal] { std::raise(signal); });
        QTimer watchdog;
        watchdog.setSingleShot(true);
        connect(&watchdog, &QTimer::timeout, [&timedOut] {
            timedOut = true;
            QCoreApplication::exit(1);
        });
        watchdog.start(5000);
        // The process is still alive here: the handler only asked the loop to end.
        QCOMPARE(QCoreApplication::exec(), 0);
        QVERIFY(!timedOut);
    }
};

TONIQUE_TEST(TstTerminationSignals, Core)
#include "tst_terminationsignals.moc"
