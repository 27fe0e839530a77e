#include "TestMain.h"
#include "fakes/TestWav.h"
#include "platform/AudioSinkPlayer.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

// The notices in order of arrival: "u" status, then the end: "E" ran out, "s" stopped, "c" closed.
struct Notices : MediaPlayerListener
{
    void statusUpdate() override { log += u'u'; }
    void playerEnded(PlaybackEnd reason) override
    {
        log += reason == PlaybackEnd::Finished ? u'E' : reason == PlaybackEnd::Stopped ? u's' : u'c';
    }
    int ends() const { return int(log.count(u'E') + log.count(u's') + log.count(u'c')); }
    QString log;
};

namespace {

// A window that notes each of its paints in a log.
class LoggedWindow : public QWidget
{
public:
    explicit LoggedWindow(QString& log) : m_log(log) {}

protected:
    void paintEvent(QPaintEvent* /*event*/) override { m_log += u'p'; }

private:
    QString& m_log;
};

} // namespace

class TestAudioSinkPlayer : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString write(const QByteArray& bytes, const QString& name = QStringLiteral("TEST.wav"))
    {
        const QString path = m_dir.filePath(name);
        return TestWav::write(path, bytes) ? path : QString();
    }

private slots:
    // Files the player opens, with their length, and files it refuses, naming the file and the reason.
    void open_data()
    {
        QTest::addColumn<QByteArray>("file"); // empty: no file at all
        QTest::addColumn<QString>("outcome"); // the length in ms, or the reason for refusing
        QTest::newRow("58-byte header") << TestWav::file(QByteArray(16000, 0)) << "1000";
        QTest::newRow("44-byte header") << TestWav::file(QByteArray(16000, 0), true) << "1000";
        QTest::newRow("no samples") << TestWav::file({}) << "0";
        QTest::newRow("odd length") << TestWav::file(QByteArray(1001, 0)) << "62";
        QTest::newRow("size beyond file") << TestWav::file(QByteArray(3200, 0), true, 1'000'000) << "200";
        QByteArray list = TestWav::file(QByteArray(800, 0), true);
        list.insert(36, QByteArray("LIST\x03\0\0\0abc\0", 12)); // odd chunk, padded to even
        QTest::newRow("odd chunk before data") << list << "50";
        QTest::newRow("missing") << QByteArray() << "il n'existe pas";
        QTest::newRow("text") << QByteArray("Bonjour.\r\n") << "pas un fichier WAV";
        QTest::newRow("44100 Hz") << TestWav::file(QByteArray(100, 0), true, -1, 44100) << "8000\u202FHz";
        QTest::newRow("stereo") << TestWav::file(QByteArray(100, 0), true, -1, 8000, 2) << "mono";
        QTest::newRow("no data chunk") << TestWav::file({}).left(50) << "données";
    }
    void open()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, outcome);
        bool opens = false;
        const qint64 lengthMs = outcome.toLongLong(&opens);
        AudioSinkPlayer player;
        player.setFileName(file.isEmpty() ? m_dir.filePath(QStringLiteral("absent.wav")) : write(file));
        const Failure failed = player.open();
        QVERIFY2(!failed == opens, qPrintable(failed.value_or(QString())));
        QCOMPARE(player.isOpen(), opens);
        if (opens) {
            QCOMPARE(player.lengthMs(), lengthMs);
            QCOMPARE(player.positionMs(), qint64(0));
            player.close();
            QVERIFY(!player.isOpen());
            QCOMPARE(player.lengthMs(), qint64(0));
            return;
        }
        const QString error = *failed;
        QVERIFY2(error.contains(outcome) && error.contains(QFileInfo(player.fileName()).fileName()), qPrintable(error));
        player.setFileName(write(TestWav::file(QByteArray(160, 0)), QStringLiteral("good.wav")));
        QCOMPARE(player.open(), Failure());
    }

    // The sound server is asked for the outputs after the window shown at start-up has been drawn, also when the
    // event loop turns before the window system has exposed it (the start-up exercise is rendered then); without a
    // window, at the first turn. A machine without any output: the player plays silently from then on.
    void outputs_askedOnceTheWindowIsDrawn_data()
    {
        QTest::addColumn<bool>("window");
        QTest::addColumn<QString>("order"); // p: the window painted, o: the outputs asked
        QTest::newRow("window shown") << true << "po";
        QTest::newRow("no window") << false << "o";
    }
    void outputs_askedOnceTheWindowIsDrawn()
    {
        QFETCH(bool, window);
        QFETCH(QString, order);
        QString log;
        LoggedWindow shown(log);
        if (window)
            shown.show();
        AudioSinkPlayer player(nullptr, [&log] {
            log += u'o';
            return false;
        });
        QCoreApplication::sendPostedEvents(); // a turn before the window system's events
        QTRY_VERIFY(log.contains(u'o'));
        QCOMPARE(log.left(order.size()), order);
        QVERIFY(player.playsSilently());
    }

    void play_notifiesInOrder_data()
    {
        QTest::addColumn<QByteArray>("data");
        const QByteArray tone = TestWav::bursts({120, 60, 120});
        QTest::newRow("tone") << tone;
        QTest::newRow("odd length") << tone + 'x';
        QTest::newRow("no samples") << QByteArray();
    }
    void play_notifiesInOrder()
    {
        QFETCH(QByteArray, data);
        AudioSinkPlayer player;
        Notices notices;
        player.setListener(&notices);
        player.setStatusIntervalMs(50);
        player.setFileName(write(TestWav::file(data)));
        QCOMPARE(player.open(), Failure());
        player.play();
        // Never an end from inside the command, even with nothing to play: the caller is not done yet.
        QCOMPARE(notices.log, QString());
        QTRY_COMPARE_WITH_TIMEOUT(notices.ends(), 1, 5000);
        QVERIFY(!player.isPlaying());
        QCOMPARE(player.positionMs(), player.lengthMs());
        QTest::qWait(120); // nothing trails the end
        QCOMPARE(notices.log, QString(notices.log.count(u'u'), u'u') + u'E');
        QVERIFY2(data.isEmpty() || notices.log.count(u'u') >= 4, qPrintable(notices.log)); // 300 ms at 50 ms
    }

    // Play at the end, Prev, Stop, a second Play while playing; close while playing ends the playback before it
    // returns, and only once.
    void transport_commands()
    {
        AudioSinkPlayer player;
        Notices notices;
        player.setListener(&notices);
        player.setFileName(write(TestWav::file(TestWav::bursts({100}))));
        QCOMPARE(player.open(), Failure());
        player.play();
        player.play(); // already playing: nothing more
        QTRY_COMPARE_WITH_TIMEOUT(notices.log, QStringLiteral("E"), 5000);
        player.play(); // at the end: nothing to hear, still an end notice
        QTRY_COMPARE_WITH_TIMEOUT(notices.ends(), 2, 5000);
        player.prev();
        QCOMPARE(player.positionMs(), qint64(0));

        player.play();
        player.stop(); // an end like any other, so the transmitter is released
        QVERIFY(notices.log.endsWith(u's') && !player.isPlaying() && player.isOpen());

        player.play();
        player.close();
        QVERIFY(notices.log.endsWith(u'c'));
        player.close();
        QTest::qWait(250);
        QCOMPARE(notices.ends(), 4);
        // The file is released: the renderer rewrites it and the player opens the new one.
        QVERIFY(TestWav::write(player.fileName(), TestWav::file(TestWav::bursts({40}))));
        QCOMPARE(player.open(), Failure());
        QCOMPARE(player.lengthMs(), qint64(40));
    }
};

TONIQUE_TEST(TestAudioSinkPlayer, Widgets)
#include "tst_audiosinkplayer.moc"
