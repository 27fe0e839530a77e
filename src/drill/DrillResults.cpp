#include "drill/DrillResults.h"

#include "common/Numbers.h"
#include "common/RandomSource.h"
#include "exercise/RandomGroups.h"

#include <cmath>

QString MaxReactionLine(double dotMs)
{
    return QStringLiteral("MAX = ") + FormatNumber(std::floor(3.0 * dotMs)) + QStringLiteral("Ms");
}

QString ResultItem(double reactionMs, QStringView character)
{
    return ZeroPadded(static_cast<qint64>(std::llround(reactionMs)), 4) + u' ' + character;
}

std::optional<QString> PickDrillCharacter(QStringView set, RandomSource& random)
{
    // A blank would leave the trimmed exercise empty and the round waiting for an answer that never matches.
    const auto typeable = [](QStringView c) {
        if (c.isEmpty())
            return false;
        const char32_t u = c.size() == 2 ? QChar::surrogateToUcs4(c[0], c[1]) : c[0].unicode();
        return QChar::isPrint(u) && !QChar::isSpace(u);
    };
    const CharacterSet characters(set);
    // Each attempt takes one draw; the 1001st fruitless one gives up.
    for (int attempts = 1; attempts <= 1001; ++attempts) {
        const QStringView c = PickFrom(characters, random);
        if (typeable(c))
            return c.toString();
    }
    return std::nullopt;
}
