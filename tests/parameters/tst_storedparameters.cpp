// The stored frequency and volume, read by the window's start-up and by tonique-wav through the same rules: the same
// values accepted with the same results, the same values refused with the same French message.
#include "TestMain.h"
#include "fakes/BuildFolder.h"
#include "fakes/TestApp.h"
#include "fakes/TestWav.h"

#include <QScrollBar>
#include <QTest>

class TestStoredParameters : public QObject
{
    Q_OBJECT

    // tonique-wav on "abc" in a fresh folder whose settings file holds `stored`: its status, error and WAV bytes.
    struct Run
    {
        int status = -1;
        QString err;
        QByteArray wav;
    };
    static Run run(const QByteArray& stored, const QStringList& options = {})
    {
        QTemporaryDir work;
        const QDir dir(work.path());
        dir.mkpath(QStringLiteral("config/tonique"));
        TestWav::write(dir.filePath("config/tonique/tonique.conf"), "[param]\n" + stored);
        TestWav::write(dir.filePath("in.txt"), "abc");
        Run r;
        r.status =
            TestWav::run(BuildFolder::file("tonique-wav"), work.path(), options + QStringList{"in.txt"}, {}, &r.err);
        r.wav = TestWav::read(dir.filePath("TEST.wav"));
        return r;
    }

private slots:
    void toneAndVolume_data()
    {
        QTest::addColumn<QString>("tona");
        QTest::addColumn<QString>("vol");
        QTest::addColumn<int>("tone"); // 0: refused
        QTest::addColumn<int>("volume");
        QTest::newRow("below 300 starts at 800") << "250"
                                                 << "64" << 800 << 64;
        QTest::newRow("1200 kept") << "1200"
                                   << "64" << 1200 << 64;
        QTest::newRow("not a number reads 0: 800") << "abc"
                                                   << "64" << 800 << 64;
        QTest::newRow("half to even") << "900.5"
                                      << "64.5" << 900 << 64;
        QTest::newRow("a hair above 2000 rounds to it") << "2000.4"
                                                        << "127" << 2000 << 127;
        QTest::newRow("tone above range") << "2500"
                                          << "64" << 0 << 0;
        QTest::newRow("tone with text after it") << "1000Hz"
                                                 << "64" << 0 << 0;
        QTest::newRow("volume above range") << "800"
                                            << "200" << 0 << 0;
        QTest::newRow("volume not a number") << "800"
                                             << "fort" << 0 << 0;
        QTest::newRow("volume 0") << "800"
                                  << "0" << 0 << 0;
        QTest::newRow("volume of 200 000 digits") << "800" << QString(200'000, u'9') << 0 << 0;
    }
    void toneAndVolume()
    {
        QFETCH(QString, tona);
        QFETCH(QString, vol);
        QFETCH(int, tone);
        QFETCH(int, volume);
        TestApp::Options options;
        options.settings = {{"tona", tona}, {"vol", vol}};
        TestApp app(options);
        const Run cli = run(("tona=" + tona + "\nvol=" + vol + "\n").toUtf8());
        if (tone == 0) {
            // The value quoted, cut short when it is long.
            const QString value = tona == "800" ? vol : tona;
            QVERIFY(app.startUpError && app.startUpError->contains(u"«\u202F" + value.left(70)));
            QVERIFY2(app.startUpError->size() < 300, qPrintable(app.startUpError->left(300)));
            QCOMPARE(cli.status, 2);
            QVERIFY2(cli.err.contains(*app.startUpError), qPrintable(cli.err));
            return;
        }
        QVERIFY(!app.startUpError);
        QCOMPARE(app.find<QScrollBar>("HScroll4")->value(), tone);
        QCOMPARE(app.find<QScrollBar>("vol")->value(), volume);
        QCOMPARE(cli.status, 0);
        const Run given = run({}, {"--tone", QString::number(tone), "--volume", QString::number(volume)});
        QVERIFY(cli.wav == given.wav);
    }
};

TONIQUE_TEST(TestStoredParameters, Widgets)
#include "tst_storedparameters.moc"
