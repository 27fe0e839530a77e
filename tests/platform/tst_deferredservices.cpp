#include "TestMain.h"
#include "fakes/BuildFolder.h"
#include "fakes/FakeMediaPlayer.h"
#include "fakes/FakePrinter.h"
#include "fakes/FakeSerialPort.h"
#include "fakes/FakeSidetone.h"
#include "fakes/FakeSpeech.h"
#include "fakes/TestWav.h"
#include "platform/DeferredPlayer.h"
#include "platform/DeferredServices.h"
#include "platform/ServicesModule.h"
#include "practice/HistogramsView.h"
#include "progress/ProgressView.h"
#include "sending/KeyingSource.h"

#include <QCoreApplication>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// The notices in order: "o" output changed, "E" ran out, "s" stopped, "c" closed.
struct Notices : MediaPlayerListener
{
    void statusUpdate() override {}
    void playerEnded(PlaybackEnd reason) override
    {
        log += reason == PlaybackEnd::Finished ? u'E' : reason == PlaybackEnd::Stopped ? u's' : u'c';
    }
    void outputChanged() override { log += u'o'; }
    QString log;
};

} // namespace

class TestDeferredServices : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    // A player whose real one is a fake, made at most once; `made` counts the makings.
    static DeferredPlayer::Make fakeMaker(FakeMediaPlayer*& fake, int& made)
    {
        return [&fake, &made]() -> Result<std::unique_ptr<MediaPlayer>> {
            ++made;
            auto player = std::make_unique<FakeMediaPlayer>();
            fake = player.get();
            return std::unique_ptr<MediaPlayer>(std::move(player));
        };
    }

    // A maker of the fake `Fake` for the service `Service` that counts its makings in `made`.
    template <typename Service, typename Fake> static typename MadeOnFirstUse<Service>::Make counting(int& made)
    {
        return [&made]() -> Result<std::unique_ptr<Service>> {
            ++made;
            return std::unique_ptr<Service>(std::make_unique<Fake>());
        };
    }

private slots:
    // What the program asks before the real player exists is answered at once and handed over, in order, when the
    // player is made: by the first Play, or by the event loop once no window waits for its first paint.
    void handOver_data()
    {
        QTest::addColumn<bool>("byPlay");
        QTest::newRow("first Play") << true;
        QTest::newRow("after the first paint") << false;
    }
    void handOver()
    {
        QFETCH(bool, byPlay);
        const QString path = m_dir.filePath(QStringLiteral("TEST.wav"));
        QVERIFY(TestWav::write(path, TestWav::file(QByteArray(32000, 0))));
        FakeMediaPlayer* fake = nullptr;
        int made = 0;
        Notices notices;
        DeferredPlayer player(fakeMaker(fake, made));
        player.setListener(&notices);
        player.setStatusIntervalMs(250);
        player.setFileName(path);
        QCOMPARE(player.open(), Failure());
        QVERIFY(player.isOpen());
        QCOMPARE(player.lengthMs(), 2000);
        QCOMPARE(made, 0);
        if (byPlay)
            player.play();
        else
            QCoreApplication::processEvents();
        QCOMPARE(made, 1);
        QCOMPARE(fake->commands.join(u','), byPlay ? "Open,Play" : "Open");
        QCOMPARE(fake->listener, &notices);
        QCOMPARE(fake->interval, 250);
        QCOMPARE(fake->file, path);
        QCOMPARE(player.isPlaying(), byPlay);
        player.play();
        QCoreApplication::processEvents();
        QCOMPARE(made, 1);
        fake->finish();
        QCOMPARE(notices.log, "E");
    }

    // Before the real player exists, a file it cannot play is refused with its reason, naming the file.
    void refusedBeforeMade()
    {
        int made = 0;
        FakeMediaPlayer* fake = nullptr;
        DeferredPlayer player(fakeMaker(fake, made));
        player.setFileName(m_dir.filePath(QStringLiteral("absent.wav")));
        const Failure failed = player.open();
        QVERIFY(failed && failed->contains(u"absent.wav") && failed->contains(u"il n'existe pas"));
        QVERIFY(!player.isOpen());
        QCOMPARE(made, 0);
    }

    // A sound module that is missing or does not load is told once, in French, naming it; the player then stays
    // silent, every playback started ending (never inside play()), and the sidetone stays quiet, and says so.
    void moduleMissing_data()
    {
        QTest::addColumn<QByteArray>("content"); // empty: no file at all
        QTest::addColumn<QString>("told");
        QTest::newRow("missing") << QByteArray() << "introuvable";
        QTest::newRow("not a library") << QByteArray("Bonjour.\n") << "ne se charge pas";
    }
    void moduleMissing()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, told);
        const QString modulePath = m_dir.filePath(QStringLiteral("module-%1.so").arg(QTest::currentDataTag()));
        if (!content.isEmpty())
            QVERIFY(TestWav::write(modulePath, content));
        QStringList messages;
        ServicesModule module({modulePath}, [&messages](const QString& m) { messages << m; });
        const QString wav = m_dir.filePath(QStringLiteral("TEST.wav"));
        QVERIFY(TestWav::write(wav, TestWav::file(QByteArray(1600, 0))));
        Notices notices;
        DeferredPlayer player([&module] { return module.makePlayer(); });
        DeferredSidetone sidetone([&module] { return module.makeSidetone(); });
        player.setListener(&notices);
        player.setFileName(wav);
        QCOMPARE(player.open(), Failure());
        player.play();
        QVERIFY(sidetone.heard()); // not known before it is made
        sidetone.setTone(800, 0.5);
        sidetone.key(true);
        QVERIFY(!sidetone.heard());
        QCOMPARE(notices.log, "o");
        QVERIFY(player.isPlaying() && player.playsSilently());
        QCoreApplication::processEvents();
        QCOMPARE(notices.log, "oE");
        QCOMPARE(messages.size(), 1);
        QVERIFY2(messages[0].contains(told) && messages[0].contains(QTest::currentDataTag()), qPrintable(messages[0]));
        player.play();
        player.stop();
        QCOMPARE(notices.log, "oEs");
        // The push-to-talk port and the printer refuse with the same reason, told once.
        DeferredSerialPort serial([&module] { return module.makeSerialPort(); });
        DeferredPrinter printer([&module] { return module.makePrinter(); });
        QCOMPARE(serial.open(), Failure(messages[0]));
        QVERIFY(!serial.isOpen());
        QCOMPARE(serial.setRequestToSend(true), Failure(messages[0]));
        QCOMPARE(printer.printImage(QImage(4, 4, QImage::Format_RGB32)), Failure(messages[0]));
        // The voice is known at once to be missing, for that reason; no key input comes from the module (the
        // window then says the input is not available).
        DeferredSpeech speech([&module] { return module.makeSpeech(); });
        bool known = false;
        speech.find([&known] { known = true; });
        QVERIFY(known && !speech.available());
        QCOMPARE(speech.unavailableReason(), messages[0]);
        const Result<std::unique_ptr<KeyingSource>> input = module.make<KeyingSource>("tonique_make_midi_input");
        QVERIFY(!input.ok() && input.failure() == messages[0]);
        QCOMPARE(messages.size(), 1);
    }

    // Each service the program holds from its start is made by its first real use, once, never by what may come
    // before it: a setting kept, a question answered from what is known, a key pressed before any tone was set.
    void madeOnFirstUse_data()
    {
        QTest::addColumn<QString>("service");
        QTest::newRow("sidetone") << "sidetone";
        QTest::newRow("serial port") << "serial port";
        QTest::newRow("printer") << "printer";
        QTest::newRow("voice") << "voice";
    }
    void madeOnFirstUse()
    {
        QFETCH(QString, service);
        int made = 0;
        DeferredSidetone sidetone(counting<Sidetone, FakeSidetone>(made));
        DeferredSerialPort serial(counting<SerialPort, FakeSerialPort>(made));
        DeferredPrinter printer(counting<Printer, FakePrinter>(made));
        DeferredSpeech speech(counting<Speech, FakeSpeech>(made));
        int known = 0;
        using Use = std::function<void()>;
        const QHash<QString, std::pair<Use, Use>> uses{
            {u"sidetone"_s,
             {[&] { sidetone.key(true), sidetone.key(false), sidetone.release(); },
              [&] { sidetone.setTone(800, 0.5); }}},
            {u"serial port"_s,
             {[&] { serial.setPortNumber(2), serial.close(), void(serial.isOpen()); },
              [&] { void(serial.open()), serial.close(); }}},
            {u"printer"_s,
             {[] {}, [&] { QCOMPARE(printer.printImage(QImage(2, 2, QImage::Format_RGB32)), Failure()); }}},
            {u"voice"_s,
             {[&] { speech.say(u"F6ABC"_s), void(speech.available()); }, [&] { speech.find([&known] { ++known; }); }}},
        };
        const auto& [before, first] = uses.value(service);
        before();
        QCOMPARE(made, 0);
        first();
        first();
        QCOMPARE(made, 1);
        if (service == u"voice") {
            // The real voice's answer, told to each who asked.
            QCOMPARE(known, 2);
            QVERIFY(speech.available() && speech.unavailableReason().isEmpty());
        }
    }

    // The port chosen before the real port is made is the one it opens; its devices are named by the real port.
    void serialPortMadeAtOpen()
    {
        FakeSerialPort* fake = nullptr;
        DeferredSerialPort serial([&fake]() -> Result<std::unique_ptr<SerialPort>> {
            auto port = std::make_unique<FakeSerialPort>();
            fake = port.get();
            return std::unique_ptr<SerialPort>(std::move(port));
        });
        serial.setPortNumber(3);
        serial.close();
        QVERIFY(!fake && !serial.isOpen());
        QCOMPARE(serial.open(), Failure());
        QVERIFY(fake && fake->opened && serial.isOpen());
        QCOMPARE(fake->number, 3);
        QCOMPARE(serial.deviceName(2), u"/dev/fake2");
        QCOMPARE(serial.setRequestToSend(true), Failure());
        QVERIFY(fake->rts);
    }

    // The module the build makes loads, and gives every service it holds.
    void moduleOfTheBuild()
    {
        QStringList messages;
        ServicesModule module(ServicesModule::Places(BuildFolder::path()),
                              [&messages](const QString& m) { messages << m; });
        const Result<std::unique_ptr<MediaPlayer>> player = module.makePlayer();
        QVERIFY2(player.ok() && *player, player.ok() ? "" : qPrintable(player.failure()));
        QVERIFY(module.makeSidetone().ok());
        QVERIFY(module.makeSpeech().ok());
        for (const char* input : {"tonique_make_midi_input", "tonique_make_microphone_input"})
            QVERIFY2(module.make<KeyingSource>(input).ok(), input);
        QVERIFY(!module.make<KeyingSource>("tonique_make_nothing").ok());
        QCOMPARE(messages, QStringList());
    }

    // The charts' module the build makes loads, and makes "Progrès" and the histograms of "Manipulation".
    void chartsModuleOfTheBuild()
    {
        ServicesModule module(ServicesModule::Places(BuildFolder::path(), u"tonique-charts.so"_s), {});
        const Result<std::unique_ptr<ProgressView>> progress =
            module.make<ProgressView>("tonique_make_progress_window");
        QVERIFY2(progress.ok() && *progress, progress.ok() ? "" : qPrintable(progress.failure()));
        QVERIFY(!(*progress)->findChildren<QWidget*>().isEmpty());
        const Result<std::unique_ptr<HistogramsView>> histograms =
            module.make<HistogramsView>("tonique_make_histograms");
        QVERIFY(histograms.ok() && *histograms);
    }
};

TONIQUE_TEST(TestDeferredServices, Widgets)
#include "tst_deferredservices.moc"
