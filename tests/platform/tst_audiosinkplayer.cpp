#include "fakes/TestWav.h"
#include "platform/AudioSinkPlayer.h"

#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

// The notices in order of arrival: "S" play started, "u" status, then the end: "E" ran out, "s" Stop button,
// "c" closed.
struct Notices : MediaPlayerListener
{
    void playStarted() override { log += u'S'; }
    void statusUpdate() override { log += u'u'; }
    void playbackEnded(PlaybackEnd reason) override
    {
        log += reason == PlaybackEnd::Finished ? u'E' : reason == PlaybackEnd::Stopped ? u's' : u'c';
    }
    int ends() const { return int(log.count(u'E') + log.count(u's') + log.count(u'c')); }
    QString log;
};

class TestAudioSinkPlayer : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString write(const QByteArray& bytes, const QString& name = QStringLiteral("TEST.wav"))
    {
        const QString path = m_dir.filePath(name);
        return TestWav::write(path, bytes) ? path : QString();
    }
    static void click(AudioSinkPlayer& player, const char* button)
    {
        QTest::mouseClick(player.findChild<QToolButton*>(QLatin1String(button)), Qt::LeftButton);
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
        QTest::newRow("missing") << QByteArray() << "introuvable";
        QTest::newRow("text") << QByteArray("Bonjour.\r\n") << "pas un fichier WAV";
        QTest::newRow("44100 Hz") << TestWav::file(QByteArray(100, 0), true, -1, 44100) << "8000 Hz";
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
        QVERIFY2(player.open() == opens, qPrintable(player.errorString()));
        QCOMPARE(player.isOpen(), opens);
        if (opens) {
            QCOMPARE(player.lengthMs(), lengthMs);
            QCOMPARE(player.positionMs(), qint64(0));
            player.close();
            QVERIFY(!player.isOpen());
            QCOMPARE(player.lengthMs(), qint64(0));
            return;
        }
        const QString error = player.errorString();
        QVERIFY2(error.contains(outcome) && error.contains(QFileInfo(player.fileName()).fileName()), qPrintable(error));
        player.setFileName(write(TestWav::file(QByteArray(160, 0)), QStringLiteral("good.wav")));
        QVERIFY(player.open());
        QVERIFY(player.errorString().isEmpty());
    }

    void play_notifiesInOrder_data()
    {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<bool>("byButton");
        const QByteArray tone = TestWav::bursts({120, 60, 120});
        QTest::newRow("Play button") << tone << true;
        QTest::newRow("play() by the program") << tone << false;
        QTest::newRow("odd length") << tone + 'x' << false;
        QTest::newRow("no samples, button") << QByteArray() << true;
        QTest::newRow("no samples, program") << QByteArray() << false;
    }
    void play_notifiesInOrder()
    {
        QFETCH(QByteArray, data);
        QFETCH(bool, byButton);
        AudioSinkPlayer player;
        Notices notices;
        player.setListener(&notices);
        player.setStatusIntervalMs(50);
        player.setFileName(write(TestWav::file(data)));
        QVERIFY(player.open());
        byButton ? click(player, "playButton") : player.play();
        // Never an end from inside the command, even with nothing to play: the caller is not done yet.
        QCOMPARE(notices.log, byButton ? QStringLiteral("S") : QString());
        QTRY_COMPARE_WITH_TIMEOUT(notices.ends(), 1, 5000);
        QVERIFY(!player.isPlaying());
        QCOMPARE(player.positionMs(), player.lengthMs());
        QTest::qWait(120); // nothing trails the end
        QCOMPARE(notices.log, QString(byButton ? "S" : "") + QString(notices.log.count(u'u'), u'u') + u'E');
        QVERIFY2(data.isEmpty() || notices.log.count(u'u') >= 4, qPrintable(notices.log)); // 300 ms at 50 ms
    }

    // Prev, Play at the end, the Stop button, a second Play while playing; close while playing ends the playback
    // before it returns, and only once.
    void transport_commands()
    {
        AudioSinkPlayer player;
        Notices notices;
        player.setListener(&notices);
        player.setFileName(write(TestWav::file(TestWav::bursts({100}))));
        QVERIFY(player.open());
        click(player, "playButton");
        click(player, "playButton"); // disabled while playing
        player.play();
        QTRY_COMPARE_WITH_TIMEOUT(notices.log, QStringLiteral("SE"), 5000);
        player.play(); // at the end: nothing to hear, still an end notice
        QTRY_COMPARE_WITH_TIMEOUT(notices.ends(), 2, 5000);
        click(player, "prevButton");
        QCOMPARE(player.positionMs(), qint64(0));

        player.play();
        click(player, "stopButton"); // an end like any other, so the transmitter is released
        QVERIFY(notices.log.endsWith(u's') && !player.isPlaying() && player.isOpen());

        player.play();
        player.close();
        QVERIFY(notices.log.endsWith(u'c'));
        player.close();
        QTest::qWait(250);
        QCOMPARE(notices.ends(), 4);
        // The file is released: the renderer rewrites it and the player opens the new one.
        QVERIFY(TestWav::write(player.fileName(), TestWav::file(TestWav::bursts({40}))));
        QVERIFY(player.open());
        QCOMPARE(player.lengthMs(), qint64(40));
    }
};

QTEST_MAIN(TestAudioSinkPlayer)
#include "tst_audiosinkplayer.moc"
