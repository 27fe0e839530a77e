// The window where the user's decimal separator is a comma.
#include "fakes/TestApp.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>

class TestFrenchLocale : public QObject
{
    Q_OBJECT

private slots:
    void numbersUseTheComma();
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

int main(int argc, char* argv[])
{
    // Qt takes the user's locale from the environment; the C library's locale plays no part.
    qputenv("LC_ALL", "fr_FR.UTF-8");
    qputenv("LANG", "fr_FR.UTF-8");
    QApplication app(argc, argv);
    TestFrenchLocale test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_frenchlocale.moc"
