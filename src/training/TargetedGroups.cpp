#include "training/TargetedGroups.h"

#include "common/RandomSource.h"

#include <algorithm>

namespace {

constexpr int GroupLength = 5;
constexpr int MaxDrawsPerCharacter = 1000;

} // namespace

TargetedDraw::TargetedDraw(const QList<CharacterNeed>& needs)
{
    double total = 0;
    for (const CharacterNeed& need : needs)
        total += need.need();
    const auto n = double(needs.size());
    double even = EvenPart, neediest = 0;
    for (const CharacterNeed& need : needs)
        neediest = std::max(neediest, total > 0 ? need.need() / total : 0);
    // The even part raised just enough to bring the neediest character down to the limit (1 / n is below it).
    if (needs.size() >= CappedFrom && neediest > MaxShare)
        even = std::max(even, (neediest - MaxShare) / (neediest - 1 / n));
    for (const CharacterNeed& need : needs) {
        m_characters.append(need.character);
        m_shares.append(total > 0 ? even / n + (1 - even) * need.need() / total : 1 / n);
    }
    double end = 0;
    for (const double share : m_shares) {
        end += share;
        m_ends.append(end);
    }
    if (!m_ends.isEmpty())
        m_ends.last() = 1; // what rounding left out goes to the last character
}

QStringView TargetedDraw::pick(RandomSource& random) const
{
    const double r = random.next();
    if (m_characters.isEmpty())
        return {};
    const auto at = std::upper_bound(m_ends.begin(), m_ends.end(), r) - m_ends.begin();
    return m_characters[std::min(at, m_characters.size() - 1)];
}

bool AppendTargetedGroups(double count, const TargetedDraw& draw, RandomSource& random, const TextSink& append)
{
    const qsizetype groups = RepeatCount(count);
    for (qsizetype g = 0; g < groups; ++g) {
        for (int j = 0; j < GroupLength; ++j) {
            QStringView c;
            for (int draws = 1; c.isEmpty(); ++draws) {
                c = draw.pick(random);
                if (draws > MaxDrawsPerCharacter)
                    return false;
            }
            append(c);
        }
        append(u" ");
    }
    return true;
}
