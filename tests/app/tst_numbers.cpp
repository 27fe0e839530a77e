#include "app/Numbers.h"
#include "app/Timing.h"

#include <QTest>

#include <clocale>

class TestNumbers : public QObject
{
    Q_OBJECT

private slots:
    void leadingNumber_data();
    void leadingNumber();
    void formatNumber_data();
    void formatNumber();
    void formatNumber_ignoresCLocale();
    void thinkingTimeItems();
};

void TestNumbers::leadingNumber_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("expected");
    QTest::newRow("plain") << "12" << 12.0;
    QTest::newRow("decimal") << "97.7198697068404" << 97.7198697068404;
    QTest::newRow("negative") << "-0.5" << -0.5;
    QTest::newRow("plus sign") << "+3" << 3.0;
    QTest::newRow("comma ends it") << "97,7" << 97.0;
    QTest::newRow("trailing text") << "12abc" << 12.0;
    QTest::newRow("blanks anywhere") << " 1 2\t.\n5" << 12.5;
    QTest::newRow("exponent") << "1.5e3" << 1500.0;
    QTest::newRow("exponent D") << "2D2" << 200.0;
    QTest::newRow("negative exponent") << "25E-1" << 2.5;
    QTest::newRow("exponent without digits") << "3e" << 3.0;
    QTest::newRow("leading point") << ".5" << 0.5;
    QTest::newRow("empty") << "" << 0.0;
    QTest::newRow("letters") << "Combo1" << 0.0;
    QTest::newRow("sign only") << "-" << 0.0;
    QTest::newRow("point only") << "." << 0.0;
    QTest::newRow("comma first") << ",5" << 0.0;
    QTest::newRow("carriage return stops") << "1\r2" << 1.0;
}

void TestNumbers::leadingNumber()
{
    QFETCH(QString, text);
    QFETCH(double, expected);
    QCOMPARE(LeadingNumber(text), expected);
}

void TestNumbers::formatNumber_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("c");
    QTest::addColumn<QString>("french");
    QTest::newRow("default dot") << 60000.0 / 614 << "97.7198697068404"
                                 << "97,7198697068404";
    QTest::newRow("whole") << 240.0 << "240"
                           << "240";
    QTest::newRow("empty word") << 60000.0 / 62 << "967.741935483871"
                                << "967,741935483871";
    QTest::newRow("no group separator") << 123456.0 << "123456"
                                        << "123456";
    QTest::newRow("negative") << -0.5 << "-0.5"
                              << "-0,5";
    QTest::newRow("zero") << 0.0 << "0"
                          << "0";
    QTest::newRow("huge") << 1e20 << "1E+20"
                          << "1E+20";
}

void TestNumbers::formatNumber()
{
    QFETCH(double, value);
    QFETCH(QString, c);
    QFETCH(QString, french);
    QCOMPARE(FormatNumber(value, QLocale::c()), c);
    QCOMPARE(FormatNumber(value, QLocale(QLocale::French, QLocale::France)), french);
    // What the program writes, it reads back (the point form).
    QCOMPARE(LeadingNumber(FormatNumber(value, QLocale::c())), QString(c).toDouble());
}

void TestNumbers::formatNumber_ignoresCLocale()
{
    // A French C locale must change neither reading nor writing.
    const char* before = std::setlocale(LC_ALL, nullptr);
    const std::string saved = before ? before : "C";
    if (!std::setlocale(LC_NUMERIC, "fr_FR.UTF-8"))
        QSKIP("no French C locale on this machine");
    QCOMPARE(LeadingNumber(u"97.7198697068404"), 97.7198697068404);
    QCOMPARE(FormatNumber(60000.0 / 614, QLocale::c()), QStringLiteral("97.7198697068404"));
    std::setlocale(LC_ALL, saved.c_str());
}

void TestNumbers::thinkingTimeItems()
{
    const QStringList c = ThinkingTimeItems(QLocale::c());
    QCOMPARE(c.size(), 30);
    QCOMPARE(c.first(), QStringLiteral("-1"));
    QCOMPARE(c.mid(8, 4), (QStringList{"-0.2", "-0.1", "0", "0.1"}));
    QCOMPARE(c.mid(18, 3), (QStringList{"0.8", "0.9", "1"}));
    QCOMPARE(c.last(), QStringLiteral("10"));

    // With a French separator the fractions read as 0 by the leading-number rule; -1, 0 and 1..10 do not.
    const QStringList fr = ThinkingTimeItems(QLocale(QLocale::French, QLocale::France));
    QCOMPARE(fr.at(1), QStringLiteral("-0,9"));
    QCOMPARE(fr.at(11), QStringLiteral("0,1"));
    QCOMPARE(LeadingNumber(fr.at(1)), 0.0);
    QCOMPARE(LeadingNumber(fr.at(0)), -1.0);
    QCOMPARE(LeadingNumber(fr.at(29)), 10.0);
}

QTEST_APPLESS_MAIN(TestNumbers)
#include "tst_numbers.moc"
