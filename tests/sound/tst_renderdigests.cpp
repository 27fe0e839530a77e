// What "Préparer La Musique" writes, pinned by digests taken from the program as it stands: a change of the code
// that moves a single byte of an exercise's WAV or text file fails here.
#include "TestMain.h"
#include "fakes/TestApp.h"

#include <QCryptographicHash>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using Stored = QMap<QString, QString>;

namespace {

QByteArray digest(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return "missing";
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256).toHex().left(16);
}

} // namespace

class TestRenderDigests : public QObject
{
    Q_OBJECT

private slots:
    void render_data()
    {
        QTest::addColumn<Stored>("stored");
        QTest::addColumn<QString>("dotMs"); // typed into TP when not empty
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("wav");
        QTest::addColumn<QByteArray>("txt");
        QTest::newRow("exam, defaults")
            << Stored{} << QString()
            << "cdpat zspmi esmpy cdenz ffcka pwvlc ujtwo kjkya ssjrp ztjze lalbp uoofb zhcpp ztesp lriah clmlg qojxp "
               "vfzys bokyh rdfxu rdook wvisr bjpwo jahyc saesg kbbte qookm lvhxu waowy xmcdh 01509 50192 53176 50412 "
               "11109 00822 "
            << QByteArray("18a0d57456751fab") << QByteArray("409fcfb1ede0af2b");
        QTest::newRow("CODEX 20 wpm, 1000 Hz, volume 127, wide gaps")
            << Stored{{"paris", "CODEX"}, {"mn", "20"},    {"espa", "2"},    {"espb", "4"}, {"espc", "8"},
                      {"tp", "4"},        {"supl", "0.5"}, {"tona", "1000"}, {"vol", "127"}}
            << QString() << "cq cq de f6abc/p k" << QByteArray("9b1affb6d061957a") << QByteArray("312ce1b2af90b15d");
        QTest::newRow("5 wpm, 300 Hz, volume 1, no marks")
            << Stored{{"mn", "5"}, {"tona", "300"}, {"vol", "1"}, {"deb", ""}, {"fin", ""}} << QString()
            << "  abc de 123 ?/+ \xc3\xa9t\xc3\xa9  " << QByteArray("a52fe259f138ea4b")
            << QByteArray("c3cc39fd763a681b");
        QTest::newRow("2000 Hz, dot typed 61.3 ms, odd runs")
            << Stored{{"tona", "2000"}, {"deb", "<"}, {"fin", "*"}} << "61.3"
            << "paris 73 = ok\r\nqrz?" << QByteArray("c3ec75a5929bff26") << QByteArray("7465c479c7209fa3");
    }
    void render()
    {
        QFETCH(Stored, stored);
        QFETCH(QString, dotMs);
        QFETCH(QString, text);
        TestApp::Options options;
        options.settings = stored;
        TestApp app(options);
        QVERIFY(!app.startUpError);
        if (!dotMs.isEmpty())
            app.find<QLineEdit>("TP")->setText(dotMs);
        app.exercise().set(text);
        app.find<QPushButton>("Command3")->click();
        QTEST(digest(app.folder() + "/TEST.wav"), "wav");
        QTEST(digest(app.folder() + "/TEST.txt"), "txt");
    }
};

TONIQUE_TEST(TestRenderDigests, Widgets)
#include "tst_renderdigests.moc"
