#include "common/Numbers.h"

#include <charconv>
#include <cmath>
#include <optional>
#include <string>

namespace {

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\n';
}

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// Exponents saturate here: no text is long enough for its leading zeros or digits to bring such a value back.
constexpr qint64 ExponentCap = 1'000'000'000'000'000;
// Past this many decades every double has overflowed or underflowed.
constexpr qint64 DecadeLimit = 400;

} // namespace

namespace {

// A number as read: its sign, its mantissa digits without the point and the decimal exponent that follows them.
struct Scanned
{
    bool negative = false;
    std::string digits;
    qint64 integerDigits = 0; // digits before the point
    qint64 exponent = 0;
};

// Reads the longest leading number of `text`, blanks dropped anywhere; nothing when it has no digit.
std::optional<Scanned> scanNumber(QStringView text)
{
    Scanned number;
    qsizetype i = 0;
    const qsizetype n = text.size();
    auto skipBlanks = [&] {
        while (i < n && isBlank(text[i]))
            ++i;
    };
    auto takeDigits = [&] {
        for (skipBlanks(); i < n && isDigit(text[i]); skipBlanks())
            number.digits += char(text[i++].unicode());
    };
    skipBlanks();
    if (i < n && (text[i] == u'+' || text[i] == u'-'))
        number.negative = text[i++] == u'-';
    takeDigits();
    number.integerDigits = qint64(number.digits.size());
    if (i < n && text[i] == u'.') {
        ++i;
        takeDigits();
    }
    if (number.digits.empty())
        return std::nullopt;
    if (i < n && (text[i] == u'e' || text[i] == u'E' || text[i] == u'd' || text[i] == u'D')) {
        qsizetype j = i + 1;
        while (j < n && isBlank(text[j]))
            ++j;
        bool negativeExponent = false;
        if (j < n && (text[j] == u'+' || text[j] == u'-'))
            negativeExponent = text[j++] == u'-';
        for (; j < n && (isDigit(text[j]) || isBlank(text[j])); ++j) {
            if (isDigit(text[j]))
                number.exponent = std::min(number.exponent * 10 + (text[j].unicode() - u'0'), ExponentCap);
        }
        if (negativeExponent)
            number.exponent = -number.exponent;
    }
    return number;
}

} // namespace

double LeadingNumber(QStringView text)
{
    const std::optional<Scanned> scanned = scanNumber(text);
    if (!scanned)
        return 0.0;
    const std::string& digits = scanned->digits;
    const bool negative = scanned->negative;

    // The value is 0.d1d2d3... × 10^decades, d1 the first significant digit; its size decides overflow.
    const auto first = digits.find_first_not_of('0');
    if (first == std::string::npos)
        return negative ? -0.0 : 0.0;
    const auto last = digits.find_last_not_of('0');
    const qint64 decades = scanned->integerDigits - qint64(first) + scanned->exponent;
    const double overflow = negative ? -HUGE_VAL : HUGE_VAL;
    const double underflow = negative ? -0.0 : 0.0;
    if (decades > DecadeLimit)
        return overflow;
    if (decades < -DecadeLimit)
        return underflow;
    // Converted as "d1.d2d3...e(decades-1)", without the C locale.
    std::string number = negative ? "-" : "";
    number += digits[first];
    if (last > first)
        number += '.' + digits.substr(first + 1, last - first);
    number += 'e' + std::to_string(decades - 1);
    double value = 0.0;
    const auto [ptr, ec] = std::from_chars(number.data(), number.data() + number.size(), value);
    if (ec == std::errc::result_out_of_range)
        return decades > 0 ? overflow : underflow;
    return value;
}

namespace {

qsizetype countDigits(QStringView text, qsizetype& i)
{
    const qsizetype first = i;
    while (i < text.size() && isDigit(text[i]))
        ++i;
    return i - first;
}

} // namespace

std::optional<TypedNumber> ReadTypedNumber(QStringView text, NumberForm form)
{
    const QStringView typed = text.trimmed();
    qsizetype i = 0;
    auto take = [&](QChar a, QChar b) {
        const bool taken = i < typed.size() && (typed[i] == a || typed[i] == b);
        i += taken ? 1 : 0;
        return taken;
    };
    if (form.sign)
        take(u'+', u'-');
    TypedNumber number;
    number.wholeDigits = countDigits(typed, i);
    if (take(u'.', form.decimalComma ? u',' : u'.'))
        number.decimals = countDigits(typed, i);
    if (number.wholeDigits + number.decimals == 0)
        return std::nullopt;
    if (form.exponent && take(u'e', u'E')) {
        take(u'+', u'-');
        if (countDigits(typed, i) == 0)
            return std::nullopt;
    }
    if (i != typed.size())
        return std::nullopt;
    number.value = LeadingNumber(typed.toString().replace(u',', u'.'));
    return number;
}

QString FormatNumber(double value, const QLocale& locale)
{
    if (value == 0.0)
        return QStringLiteral("0");
    // The C locale writes ASCII digits, "-" and "e"; of the user's locale only the decimal separator is taken.
    QString text = QLocale::c().toString(value, 'g', 15);
    if (std::isfinite(value)) {
        text.replace(u'e', u'E'); // one exponent letter whatever the locale: 1E+20
        text.replace(u'.', locale.decimalPoint());
    }
    return text;
}

double RoundHalfEven(double value)
{
    return std::nearbyint(value);
}

QString ZeroPadded(qint64 value, int width)
{
    const QString digits = QString::number(value < 0 ? -value : value).rightJustified(width, u'0');
    return value < 0 ? QStringLiteral("-") + digits : digits;
}
