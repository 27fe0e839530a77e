#pragma once

#include <QLocale>
#include <QString>
#include <QStringView>

#include <optional>

// How the program reads every numeric field: the longest leading number of the text, "." as the only decimal
// point, blanks (space, tab, line feed) skipped anywhere, 0 when the text does not start with a number. Too large
// a value reads as an infinity of its sign, too small a one as zero.
double LeadingNumber(QStringView text);

// What a field or an option takes as a number besides the digits and the decimal point.
struct NumberForm
{
    bool sign = true;          // a leading "+" or "-"
    bool decimalComma = false; // "," as decimal point as well as "."
    bool exponent = false;     // "e" or "E" and a whole exponent, with its sign
};

// A number as typed and read: its value (infinite when it is beyond every double) and how many digits it has before
// and after its decimal point.
struct TypedNumber
{
    double value = 0.0;
    qsizetype wholeDigits = 0;
    qsizetype decimals = 0;
};

// Reads a number typed by the user: white space at either end, then the number as `form` allows it (an optional
// sign, ASCII digits with at most one decimal point, at least one digit before or after it, an optional exponent),
// and nothing else. Nothing when the text is not such a number.
std::optional<TypedNumber> ReadTypedNumber(QStringView text, NumberForm form = {});

// How the program writes a number into a field: at most 15 significant digits, no trailing zeros, no group
// separator, exponent form where the value needs it ("1E+20"). Digits, sign and exponent are ASCII whatever the
// locale, so that LeadingNumber reads them; only the decimal separator is that of `locale` (the user's by default).
QString FormatNumber(double value, const QLocale& locale = QLocale::system());

// A whole number the way a scroll bar takes it: rounded to the nearest integer, a half to the even neighbour.
double RoundHalfEven(double value);

// A whole number on at least `width` digits with leading zeros ("0000" style); negatives keep their sign first.
QString ZeroPadded(qint64 value, int width);
