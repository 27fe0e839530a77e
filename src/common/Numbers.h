#pragma once

#include <QLocale>
#include <QString>
#include <QStringView>

// How the program reads every numeric field: the longest leading number of the text, "." as the only decimal
// point, blanks (space, tab, line feed) skipped anywhere, 0 when the text does not start with a number. Too large
// a value reads as an infinity of its sign, too small a one as zero.
double LeadingNumber(QStringView text);

// How the program writes a number into a field: at most 15 significant digits, no trailing zeros, no group
// separator, exponent form where the value needs it ("1E+20"). Digits, sign and exponent are ASCII whatever the
// locale, so that LeadingNumber reads them; only the decimal separator is that of `locale` (the user's by default).
QString FormatNumber(double value, const QLocale& locale = QLocale::system());

// A whole number the way a scroll bar takes it: rounded to the nearest integer, a half to the even neighbour.
double RoundHalfEven(double value);

// A whole number on at least `width` digits with leading zeros ("0000" style); negatives keep their sign first.
QString ZeroPadded(qint64 value, int width);
