#include "TestMain.h"
#include "inputs/InputTime.h"
#include "inputs/ModemLineFilter.h"
#include "inputs/ModemLines.h"
#include "inputs/SerialKeyingSource.h"

#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTest>

#include <cerrno>
#include <fcntl.h>
#include <pty.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <thread>
#include <unistd.h>

namespace {

constexpr KeyTime Ms = 1000;

// Readings "<ms>:<CTS><DSR>" ("0:10 60:00"), read as the reader thread would: the lines again at the filter's
// recheck time, as last read, before the next reading. The edges as "<d|D><v|^><ms>", d the dot lever (CTS).
QString Run(int debounceMs, const QString& readings)
{
    ModemLineFilter filter(debounceMs);
    QStringList edges;
    bool cts = false;
    bool dsr = false;
    const auto read = [&](KeyTime time) {
        for (const LineEdge& edge : filter.read(time, cts, dsr))
            edges << QString(edge.input == KeyInput::DotLever ? u'd' : u'D') + (edge.down ? u'v' : u'^') +
                         QString::number(edge.time / Ms);
    };
    const auto recheckUntil = [&](KeyTime until) {
        for (auto at = filter.recheckAt(); at && *at <= until; at = filter.recheckAt())
            read(*at);
    };
    for (const QString& reading : readings.split(u' ')) {
        const KeyTime time = reading.section(u':', 0, 0).toLongLong() * Ms;
        recheckUntil(time);
        cts = reading.section(u':', 1)[0] == u'1';
        dsr = reading.section(u':', 1)[1] == u'1';
        read(time);
    }
    recheckUntil(std::numeric_limits<KeyTime>::max());
    return edges.join(u' ');
}

// A port whose lines change at each wait as scripted ("10": CTS asserted, DSR not), 15 ms apart, or whose wait fails
// ("EIO"); once the script is played, the wait lasts until the reader is woken.
class ScriptedLines : public ModemLines
{
public:
    explicit ScriptedLines(const QString& script) : m_steps(script.split(u' ', Qt::SkipEmptyParts)) {}

    int waitForChange() override
    {
        if (m_next >= m_steps.size()) {
            pause();
            return EINTR;
        }
        const QString step = m_steps[m_next++];
        if (step == u"EIO")
            return EIO;
        if (step == u"EINVAL")
            return EINVAL;
        std::this_thread::sleep_for(std::chrono::milliseconds(15));
        m_cts = step[0] == u'1';
        m_dsr = step[1] == u'1';
        return 0;
    }
    int read(bool& cts, bool& dsr) override
    {
        cts = m_cts;
        dsr = m_dsr;
        return 0;
    }
    void sleepUntil(KeyTime time) override
    {
        std::this_thread::sleep_for(std::chrono::microseconds(std::max<KeyTime>(0, time - InputTimeNow())));
    }

private:
    QStringList m_steps;
    qsizetype m_next = 0;
    bool m_cts = false;
    bool m_dsr = false;
};

bool RtsRaisedOnTtyS0()
{
    QFile table(QStringLiteral("/proc/tty/driver/serial"));
    return table.open(QIODevice::ReadOnly) &&
           SerialKeyingSource::tableShowsRts(QString::fromLatin1(table.readAll()), QStringLiteral("/dev/ttyS0"));
}

} // namespace

class TestSerialKey : public QObject
{
    Q_OBJECT

private slots:
    void debounce_data()
    {
        QTest::addColumn<int>("debounceMs");
        QTest::addColumn<QString>("readings");
        QTest::addColumn<QString>("edges");
        QTest::newRow("a clean dot") << 10 << "0:10 60:00"
                                     << "dv0 d^60";
        QTest::newRow("bounces on press and release") << 10 << "0:10 1:00 2:10 3:00 4:10 80:00 81:10 82:00"
                                                      << "dv0 d^80";
        QTest::newRow("released while deaf: taken at its time") << 10 << "0:10 5:00"
                                                                << "dv0 d^5";
        QTest::newRow("a bounce back while deaf is nothing") << 10 << "0:10 5:00 7:10 50:00"
                                                             << "dv0 d^50";
        QTest::newRow("the dash lever on DSR") << 10 << "0:01 40:00"
                                               << "Dv0 D^40";
        QTest::newRow("a squeeze of both levers") << 10 << "0:10 3:11 50:01 90:00"
                                                  << "dv0 Dv3 d^50 D^90";
        QTest::newRow("both released while deaf, in time order") << 10 << "0:11 4:10 6:00"
                                                                 << "dv0 Dv0 D^4 d^6";
        QTest::newRow("a late release after the other lever's press") << 10 << "0:10 4:00 8:01 40:00"
                                                                      << "dv0 Dv8 d^8 D^40";
        QTest::newRow("no debounce is the shortest one") << 0 << "0:10 1:00 2:10 10:00"
                                                         << "dv0 d^10";
        QTest::newRow("a long debounce is brought down") << 500 << "0:10 60:00 61:10 200:00"
                                                         << "dv0 d^60 dv61 d^200";
    }

    void debounce()
    {
        QFETCH(int, debounceMs);
        QFETCH(QString, readings);
        QFETCH(QString, edges);
        QCOMPARE(Run(debounceMs, readings), edges);
    }

    // A rattling contact: a change every 0.2 ms on both lines for a second gives the window at most one edge per
    // line per debounce time.
    void rattlingContactIsBounded()
    {
        ModemLineFilter filter(ModemLineFilter::DefaultDebounceMs);
        int edges = 0;
        KeyTime last = 0;
        for (KeyTime time = 0; time < 1000 * Ms; time += 200) {
            const bool level = (time / 200) % 2 == 0;
            for (const LineEdge& edge : filter.read(time, level, !level)) {
                QVERIFY(edge.time >= last);
                last = edge.time;
                ++edges;
            }
        }
        QVERIFY2(edges <= 2 * (1000 / ModemLineFilter::DefaultDebounceMs) + 2, qPrintable(QString::number(edges)));
        QVERIFY(edges > 0);
    }

    void rtsInTheSystemTable_data()
    {
        QTest::addColumn<QString>("device");
        QTest::addColumn<QString>("table");
        QTest::addColumn<bool>("raised");
        const QString table = QStringLiteral("serinfo:1.0 driver revision:\n"
                                             "0: uart:16550A port:000003F8 irq:4 tx:17 rx:0 RTS|CTS|DTR|DSR|CD\n"
                                             "1: uart:16550A port:000002F8 irq:3 tx:0 rx:0 CTS|DTR\n"
                                             "10: uart:16550A port:000003E8 irq:4 tx:0 rx:0 RTS\n"
                                             "2: uart:unknown port:000003E8 irq:4\n");
        QTest::newRow("raised") << "/dev/ttyS0" << table << true;
        QTest::newRow("low") << "/dev/ttyS1" << table << false;
        QTest::newRow("alone") << "/dev/ttyS10" << table << true;
        QTest::newRow("no port there") << "/dev/ttyS2" << table << false;
        QTest::newRow("not a built-in port") << "/dev/ttyUSB0" << table << false;
    }

    void rtsInTheSystemTable()
    {
        QFETCH(QString, device);
        QFETCH(QString, table);
        QFETCH(bool, raised);
        QCOMPARE(SerialKeyingSource::tableShowsRts(table, device), raised);
    }

    // What cannot be read as a key says why, in French, and the keyboard goes on.
    void refusedPorts_data()
    {
        QTest::addColumn<QString>("device");
        QTest::addColumn<bool>("locked");
        QTest::addColumn<QString>("reason");
        QTest::newRow("no port") << "" << false << "Aucun port série";
        QTest::newRow("no such device") << "/dev/ttyTonique-absent" << false << "n'existe pas";
        QTest::newRow("not a terminal") << "/dev/null" << false << "pas de lignes de modem";
        QTest::newRow("a pseudo terminal") << "pty" << false << "pas de lignes de modem";
        QTest::newRow("held by another program") << "pty" << true << "occupé";
        QTest::newRow("locked by another program") << "pty+lock" << false << "occupé";
    }

    void refusedPorts()
    {
        QFETCH(QString, device);
        QFETCH(bool, locked);
        QFETCH(QString, reason);
        int controller = -1;
        int terminal = -1;
        QFile lock;
        bool madeLock = false;
        const auto cleanUp = qScopeGuard([&] {
            if (madeLock)
                lock.remove();
            if (controller >= 0) {
                close(controller);
                close(terminal);
            }
        });
        if (device.startsWith(u"pty")) {
            char name[256] = {};
            QVERIFY(openpty(&controller, &terminal, name, nullptr, nullptr) == 0);
            if (locked)
                QVERIFY(flock(terminal, LOCK_EX | LOCK_NB) == 0);
            // A lock file naming a live process other than this one: the first one, init.
            lock.setFileName(QStringLiteral("/var/lock/LCK..") + QFileInfo(QString::fromLocal8Bit(name)).fileName());
            if (device.endsWith(u"+lock")) {
                madeLock = lock.open(QIODevice::NewOnly) && lock.write("         1\n") > 0;
                QVERIFY2(madeLock, "/var/lock not writable");
                lock.close();
            }
            device = QString::fromLocal8Bit(name);
        }
        SerialKeyingSource source({device, 10, false});
        QString failure;
        QVERIFY(!source.start(failure));
        QVERIFY2(failure.contains(reason) && failure.contains(QStringLiteral("clavier reste utilisable")),
                 qPrintable(failure));
        source.stop();
    }

    // The reader thread on a scripted port: the edges reach the window's thread, a port that fails says why once.
    void scriptedPort_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("edges");
        QTest::addColumn<QString>("failure");
        QTest::newRow("listening") << "10 00 01 00"
                                   << "dv d^ Dv D^"
                                   << "";
        QTest::newRow("pulled out") << "10 00 EIO"
                                    << "dv d^"
                                    << "a disparu";
        QTest::newRow("no modem lines after all") << "EINVAL 10"
                                                  << ""
                                                  << "pas de lignes de modem";
    }

    void scriptedPort()
    {
        QFETCH(QString, script);
        QFETCH(QString, edges);
        QFETCH(QString, failure);
        auto source = std::make_unique<SerialKeyingSource>(SerialKeyingSource::Port{QStringLiteral("/dev/ttyS9")},
                                                           std::make_unique<ScriptedLines>(script));
        QStringList seen;
        QString failed;
        connect(source.get(), &KeyingSource::edge, this, [&seen](KeyInput input, bool down, KeyTime) {
            seen << QString(input == KeyInput::DotLever ? u'd' : u'D') + (down ? u'v' : u'^');
        });
        connect(source.get(), &KeyingSource::failed, this, [&failed, &source](const QString& message) {
            failed += message;
            source.release()->deleteLater(); // as the window does
        });
        QString refused;
        QVERIFY(source->start(refused));
        QTRY_COMPARE_WITH_TIMEOUT(seen.join(u' '), edges, 3000);
        QTRY_VERIFY2_WITH_TIMEOUT(failure.isEmpty() ? failed.isEmpty() : failed.contains(failure), qPrintable(failed),
                                  3000);
        if (source)
            source->stop();
    }

    // The machine's own serial port: opened, listened to and let go at once, RTS as it was all along, and no edge
    // once stopped.
    void builtInPort()
    {
        const QString device = QStringLiteral("/dev/ttyS0");
        if (!QFile::exists(device))
            QSKIP("no /dev/ttyS0 here");
        const bool rtsBefore = RtsRaisedOnTtyS0();
        SerialKeyingSource source({device, 10, false});
        QSignalSpy edges(&source, &KeyingSource::edge);
        QSignalSpy failed(&source, &KeyingSource::failed);
        QString failure;
        if (!source.start(failure))
            QSKIP(qPrintable(QStringLiteral("ttyS0 cannot be opened here: ") + failure));
        QCOMPARE(RtsRaisedOnTtyS0(), rtsBefore);
        QTest::qWait(100);
        source.stop(); // the reader, asleep in the kernel, is woken
        QCOMPARE(failed.size(), 0);
        const qsizetype seen = edges.size();
        QTest::qWait(50);
        QCOMPARE(edges.size(), seen);
        QCOMPARE(RtsRaisedOnTtyS0(), rtsBefore);

        // Stopped before the window's thread has taken the first reading: nothing comes.
        SerialKeyingSource quick({device, 10, false});
        QSignalSpy quickEdges(&quick, &KeyingSource::edge);
        QVERIFY(quick.start(failure));
        QTest::qSleep(20);
        quick.stop();
        QCoreApplication::processEvents();
        QCOMPARE(quickEdges.size(), 0);
        QCOMPARE(RtsRaisedOnTtyS0(), rtsBefore);

        // RTS down beforehand (the port held by another descriptor that lowered it, as the push-to-talk does once
        // released): the source's own open raises it, and it goes down again at once. RTS is then put back.
        const int holder = open("/dev/ttyS0", O_RDWR | O_NOCTTY | O_NONBLOCK);
        QVERIFY(holder >= 0);
        const int rts = TIOCM_RTS;
        ioctl(holder, TIOCMBIC, &rts);
        SerialKeyingSource shared({device, 10, false});
        QVERIFY(shared.start(failure));
        const bool raisedWhileListening = RtsRaisedOnTtyS0();
        shared.stop();
        if (rtsBefore)
            ioctl(holder, TIOCMBIS, &rts);
        close(holder);
        QVERIFY(!raisedWhileListening);
    }
};

TONIQUE_TEST(TestSerialKey, Core)
#include "tst_serialkey.moc"
