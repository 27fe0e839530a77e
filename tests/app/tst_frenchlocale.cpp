// The window where the user's decimal separator is a comma.
#include "TestMain.h"
#include "fakes/BuildFolder.h"
#include "fakes/TestApp.h"
#include "fakes/TestWav.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <clocale>

class TestFrenchLocale : public QObject
{
    Q_OBJECT

public:
    static void initMain()
    {
        // Qt takes the user's locale from the environment; the C library's locale plays no part.
        qputenv("LC_ALL", "fr_FR.UTF-8");
        qputenv("LANG", "fr_FR.UTF-8");
    }

private slots:
    void numbersUseTheComma();
    void exerciseAsUnderTheCLocale();
};

void TestFrenchLocale::numbersUseTheComma()
{
    QCOMPARE(QLocale::system().decimalPoint(), QStringLiteral(","));
    TestApp app;
    QVERIFY(!app.startUpError);
    QCOMPARE(app.find<QLineEdit>("TP")->text(), QStringLiteral("97,7198697068404"));
    auto* thinking = app.find<QComboBox>("Texte");
    QCOMPARE(thinking->itemText(1), QStringLiteral("-0,9"));
    QCOMPARE(thinking->itemText(11), QStringLiteral("0,1"));
    QCOMPARE(thinking->itemText(29), QStringLiteral("10"));
    // The dot length still follows the fields, written with the comma.
    app.find<QComboBox>("Combo1")->setEditText(QStringLiteral("13"));
    QCOMPARE(app.find<QLineEdit>("TP")->text(), QLocale::system().toString(60000.0 / (13 * 43 + 108 - 1), 'g', 15));
}

// The dot length written with a comma, and the C library's numbers with a comma too: the exercise "Préparer La
// Musique" writes is byte for byte the one tonique-wav writes under the C locale.
void TestFrenchLocale::exerciseAsUnderTheCLocale()
{
    QVERIFY2(std::localeconv()->decimal_point == std::string(","), "no French C locale: run scripts/setup");
    TestApp app;
    QCOMPARE(app.find<QLineEdit>("TP")->text(), QStringLiteral("97,7198697068404"));
    const QByteArray text = "CQ CQ DE F6ABC, 73 ?";
    app.exercise().set(QString::fromLatin1(text));
    app.find<QPushButton>("Command3")->click();

    QTemporaryDir cli;
    QVERIFY(TestWav::write(cli.filePath("in.txt"), text));
    const QByteArray french = qgetenv("LC_ALL");
    qputenv("LC_ALL", "C.UTF-8");
    const int status = TestWav::run(BuildFolder::file("tonique-wav"), cli.path(), {"in.txt"});
    qputenv("LC_ALL", french);
    QCOMPARE(status, 0);
    const QByteArray wav = TestWav::read(app.folder() + u"/TEST.wav");
    QVERIFY(wav.size() > 100000);
    QVERIFY(wav == TestWav::read(cli.filePath("TEST.wav")));
}

TONIQUE_TEST(TestFrenchLocale, Widgets)

#include "tst_frenchlocale.moc"
