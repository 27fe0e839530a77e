#include "parameters/PassMark.h"

#include "common/Numbers.h"

#include <cmath>

using namespace Qt::StringLiterals;

Result<PassMark> ParsePassMark(QStringView text)
{
    const auto typed = ReadTypedNumber(text, {.sign = false, .decimalComma = true});
    if (!typed || typed->wholeDigits == 0 || typed->wholeDigits > 3 || typed->decimals > 2)
        return Fail(u"«\u202F"_s + text +
                    u"\u202F» n'est pas un pourcentage de 0 à 100 avec au plus deux décimales."_s);
    const auto hundredths = int(std::lround(typed->value * 100));
    if (hundredths > 10000)
        return Fail(u"«\u202F"_s + text + u"\u202F» dépasse 100\u202F%."_s);
    return PassMark{hundredths};
}

QString FormatPassMark(PassMark pass)
{
    QString decimals = QString::number(pass.hundredths % 100).rightJustified(2, u'0');
    while (decimals.endsWith(u'0'))
        decimals.chop(1);
    return QString::number(pass.hundredths / 100) + (decimals.isEmpty() ? QString() : u',' + decimals);
}
