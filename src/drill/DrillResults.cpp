#include "drill/DrillResults.h"

#include "common/Numbers.h"
#include "common/RandomSource.h"

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
    // Each attempt takes one draw; an empty set gives up after its 1001st draw.
    for (int attempts = 1; attempts <= 1001; ++attempts) {
        const qsizetype p = random.pickIndex(set.size());
        if (p < 0 || p >= set.size())
            continue;
        qsizetype start = p, length = 1;
        if (set[p].isLowSurrogate() && p > 0 && set[p - 1].isHighSurrogate())
            start = p - 1, length = 2;
        else if (set[p].isHighSurrogate() && p + 1 < set.size() && set[p + 1].isLowSurrogate())
            length = 2;
        return set.mid(start, length).toString();
    }
    return std::nullopt;
}
