#include "TestMain.h"
#include "common/Numbers.h"
#include "timing/Timing.h"

#include <QRandomGenerator>
#include <QTest>

#include <clocale>
#include <cmath>
#include <cstdlib>
#include <locale.h>

class TestNumbers : public QObject
{
    Q_OBJECT

private slots:
    void leadingNumber_data();
    void leadingNumber();
    void leadingNumber_agreesWithStrtod_data();
    void leadingNumber_agreesWithStrtod();
    void typedNumber_data();
    void typedNumber();
    void formatNumber_data();
    void formatNumber();
    void formatNumber_ignoresCLocale();
    void thinkingTimeItems();
};

// The plain forms (sign, digits, point, exponent, trailing text) are checked against the C library below; these
// are the program's own rules and the ends of the range.
void TestNumbers::leadingNumber_data()
{
    const QString zeros(330, u'0');
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("expected");
    QTest::newRow("comma ends it") << "97,7" << 97.0;
    QTest::newRow("blanks anywhere") << " - 1 2\t.\n5 e\n1" << -125.0;
    QTest::newRow("exponent D") << "2D2" << 200.0;
    QTest::newRow("letters") << "Combo1" << 0.0;
    QTest::newRow("carriage return stops") << "1\r2" << 1.0;
    QTest::newRow("tiny without exponent") << u"0." + zeros + u"1" << 0.0;
    QTest::newRow("huge despite a negative exponent") << u"1" + zeros + u"e-1" << HUGE_VAL;
    QTest::newRow("negative huge") << u"-1" + zeros << -HUGE_VAL;
    QTest::newRow("zeros and exponent cancel") << u"0." + zeros + u"25e332" << 25.0;
    QTest::newRow("absurd exponent") << "1e999999999999999999999999" << HUGE_VAL;
    QTest::newRow("absurd negative exponent") << "-1e-999999999999999999999999" << -0.0;
    QTest::newRow("zero with absurd exponent") << "0e999999999999999999999999" << 0.0;
}

void TestNumbers::leadingNumber()
{
    QFETCH(QString, text);
    QFETCH(double, expected);
    QCOMPARE(LeadingNumber(text), expected);
}

// A number as the fields and options take it; `form` lists what is allowed: s(ign), c(omma), e(xponent). NaN: refused.
void TestNumbers::typedNumber_data()
{
    const double refused = std::nan("");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("form");
    QTest::addColumn<double>("expected");
    QTest::newRow("carriage return before") << "\r12"
                                            << "s" << 12.0;
    QTest::newRow("form feed and tab around") << "\f-3\t"
                                              << "s" << -3.0;
    QTest::newRow("no-break spaces around") << QStringLiteral("\u00a02,5\u202f") << "c" << 2.5;
    QTest::newRow("point and no digit") << "."
                                        << "sce" << refused;
    QTest::newRow("point first") << ".5"
                                 << "s" << 0.5;
    QTest::newRow("point last") << "5."
                                << "" << 5.0;
    QTest::newRow("comma not allowed") << "1,5"
                                       << "se" << refused;
    QTest::newRow("two points") << "1.2.3"
                                << "sce" << refused;
    QTest::newRow("sign not allowed") << "+5"
                                      << "c" << refused;
    QTest::newRow("blank inside") << "1 2"
                                  << "sce" << refused;
    QTest::newRow("exponent") << "-1,5E+3"
                              << "sce" << -1500.0;
    QTest::newRow("exponent not allowed") << "1e3"
                                          << "sc" << refused;
    QTest::newRow("exponent without digits") << "1e"
                                             << "sce" << refused;
    QTest::newRow("beyond every double") << "1e400"
                                         << "se" << HUGE_VAL;
    QTest::newRow("digit of another script") << QStringLiteral("\u0663") << "sce" << refused;
}

void TestNumbers::typedNumber()
{
    QFETCH(QString, text);
    QFETCH(QString, form);
    QFETCH(double, expected);
    const auto typed = ReadTypedNumber(
        text, {.sign = form.contains(u's'), .decimalComma = form.contains(u'c'), .exponent = form.contains(u'e')});
    QCOMPARE(typed.has_value(), !std::isnan(expected));
    if (typed)
        QCOMPARE(typed->value, expected);
}

void TestNumbers::leadingNumber_agreesWithStrtod_data()
{
    // Mantissa: up to `zeros` zeros then up to `digits` digits on each side of the point; exponent in [min, max].
    QTest::addColumn<int>("zeros");
    QTest::addColumn<int>("digits");
    QTest::addColumn<qint64>("min");
    QTest::addColumn<qint64>("max");
    QTest::newRow("short") << 2 << 6 << qint64(-30) << qint64(30);
    QTest::newRow("long mantissas") << 400 << 400 << qint64(-400) << qint64(400);
    QTest::newRow("edge of overflow") << 0 << 20 << qint64(290) << qint64(310);
    QTest::newRow("edge of underflow") << 0 << 20 << qint64(-345) << qint64(-300);
    QTest::newRow("absurd exponents") << 3 << 3 << qint64(-1e18) << qint64(1e18);
}

// Same value as strtod in the C locale, both infinite with the same sign, or both zero, on the forms both accept.
void TestNumbers::leadingNumber_agreesWithStrtod()
{
    QFETCH(int, zeros);
    QFETCH(int, digits);
    QFETCH(qint64, min);
    QFETCH(qint64, max);
    static const locale_t c = newlocale(LC_ALL_MASK, "C", nullptr);
    QRandomGenerator random(1789);
    auto pick = [&random](std::initializer_list<const char*> items) {
        return QString::fromLatin1(items.begin()[random.bounded(int(items.size()))]);
    };
    auto run = [&random](int count, QChar first, QChar last) {
        QString s;
        for (int n = random.bounded(count + 1); n > 0; --n)
            s += QChar(first.unicode() + random.bounded(last.unicode() - first.unicode() + 1));
        return s;
    };
    for (int i = 0; i < 1000; ++i) {
        QString text = pick({"", "+", "-"}) + run(zeros, u'0', u'0') + run(digits, u'0', u'9');
        if (random.bounded(2))
            text += u'.' + run(zeros, u'0', u'0') + run(digits, u'0', u'9');
        if (random.bounded(4)) {
            const qint64 exponent = random.bounded(min, max + 1);
            text += pick({"e", "E"}) + (exponent < 0 ? QStringLiteral("-") : pick({"", "+"})) + run(3, u'0', u'0') +
                    QString::number(std::abs(exponent));
        }
        text += pick({"", "a", ",5", "e", "E+", "e-x", "/", "..5", "+1"});
        const double expected = strtod_l(text.toLatin1().constData(), nullptr, c);
        const double value = LeadingNumber(text);
        QVERIFY2(value == expected, qPrintable(text + u" -> " + QString::number(value, 'g', 17)));
    }
}

void TestNumbers::formatNumber_data()
{
    // Digits, sign and exponent as in the C locale whatever the locale; only the decimal separator is the locale's.
    QTest::addColumn<QString>("locale");
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("expected");
    QTest::newRow("C default dot") << "C" << 60000.0 / 614 << "97.7198697068404";
    QTest::newRow("C whole") << "C" << 240.0 << "240";
    QTest::newRow("C huge") << "C" << 1e20 << "1E+20";
    QTest::newRow("French default dot") << "fr_FR" << 60000.0 / 614 << "97,7198697068404";
    QTest::newRow("French no group separator") << "fr_FR" << 123456.0 << "123456";
    QTest::newRow("French negative") << "fr_FR" << -0.5 << "-0,5";
    QTest::newRow("French zero") << "fr_FR" << 0.0 << "0";
    QTest::newRow("French tiny") << "fr_FR" << -1.5e-20 << "-1,5E-20";
    QTest::newRow("Swedish minus") << "sv_SE" << -0.5 << "-0,5";
    QTest::newRow("Swedish exponent") << "sv_SE" << 1e20 << "1E+20";
    QTest::newRow("Arabic digits") << "ar_EG" << 60000.0 / 614 << QStringLiteral("97\u066B7198697068404");
    QTest::newRow("Arabic exponent") << "ar_EG" << -1.5e-20 << QStringLiteral("-1\u066B5E-20");
    QTest::newRow("Persian minus") << "fa_IR" << -0.5 << QStringLiteral("-0\u066B5");
}

void TestNumbers::formatNumber()
{
    QFETCH(QString, locale);
    QFETCH(double, value);
    QFETCH(QString, expected);
    const QLocale l(locale);
    QCOMPARE(FormatNumber(value, l), expected);
    // What the program writes, it reads back once the separator is a point (as the dot length is read).
    const QString pointed = QString(expected).replace(l.decimalPoint(), QStringLiteral("."));
    QCOMPARE(LeadingNumber(pointed), pointed.toDouble());
}

void TestNumbers::formatNumber_ignoresCLocale()
{
    // A French C locale must change neither reading nor writing (scripts/setup makes sure one exists).
    const char* before = std::setlocale(LC_ALL, nullptr);
    const std::string saved = before ? before : "C";
    if (!std::setlocale(LC_NUMERIC, "fr_FR.UTF-8"))
        QFAIL("no French C locale on this machine: run scripts/setup");
    const double read = LeadingNumber(u"97.7198697068404");
    const QString written = FormatNumber(60000.0 / 614, QLocale::c());
    std::setlocale(LC_ALL, saved.c_str());
    QCOMPARE(read, 97.7198697068404);
    QCOMPARE(written, QStringLiteral("97.7198697068404"));
}

void TestNumbers::thinkingTimeItems()
{
    const QStringList c = ThinkingTimeItems(QLocale::c());
    QCOMPARE(c.size(), 30);
    QCOMPARE(c.first(), QStringLiteral("-1"));
    QCOMPARE(c.mid(8, 4), (QStringList{"-0.2", "-0.1", "0", "0.1"}));
    QCOMPARE(c.mid(18, 3), (QStringList{"0.8", "0.9", "1"}));
    QCOMPARE(c.last(), QStringLiteral("10"));
    // With a French separator the fractions carry a comma (and so read as 0 by the leading-number rule).
    const QStringList fr = ThinkingTimeItems(QLocale(QLocale::French, QLocale::France));
    QCOMPARE(fr.mid(9, 3), (QStringList{"-0,1", "0", "0,1"}));
}

TONIQUE_TEST(TestNumbers, None)
#include "tst_numbers.moc"
