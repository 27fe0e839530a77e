#include "exercise/RandomGroups.h"

#include "common/RandomSource.h"

#include <cmath>

namespace {

constexpr int GroupLength = 5;
// Draws allowed for one character before the operation gives up.
constexpr int MaxDrawsPerCharacter = 1000;
constexpr QStringView Space = u" ";

bool isLetter(QStringView c)
{
    // Unaccented letters only: é, ß... are drawn and rejected like the figures and signs.
    if (c.size() != 1)
        return false;
    const char16_t u = c.front().unicode();
    return (u >= u'A' && u <= u'Z') || (u >= u'a' && u <= u'z');
}

bool isFigure(QStringView c)
{
    return c.size() == 1 && c.front() >= u'0' && c.front() <= u'9';
}

// Draws from `set` until `accept` takes the pick; an empty view after the 1001st draw.
template <typename Accept> QStringView drawQualifying(const CharacterSet& set, RandomSource& random, Accept accept)
{
    for (int draws = 1;; ++draws) {
        const QStringView c = PickFrom(set, random);
        if (draws > MaxDrawsPerCharacter)
            return {};
        if (accept(c))
            return c;
    }
}

template <typename Accept>
bool appendTestedGroups(double count, QStringView set, QStringView reinforced, bool drawPosition, RandomSource& random,
                        const TextSink& append, Accept accept)
{
    const CharacterSet characters(set);
    const qsizetype groups = RepeatCount(count);
    for (qsizetype g = 0; g < groups; ++g) {
        const int reinforcedAt = drawPosition ? static_cast<int>(random.pickIndex(GroupLength)) : -1;
        for (int j = 0; j < GroupLength; ++j) {
            QStringView c = drawQualifying(characters, random, accept);
            if (c.isEmpty())
                return false;
            if (!reinforced.isEmpty() && j == reinforcedAt)
                c = reinforced;
            append(c);
        }
        append(Space);
    }
    return true;
}

} // namespace

qsizetype RepeatCount(double count)
{
    if (!(count >= 1)) // also NaN
        return 0;
    if (count >= static_cast<double>(MaxRepeats))
        return MaxRepeats;
    return static_cast<qsizetype>(std::floor(count));
}

CharacterSet::CharacterSet(QStringView set) : m_set(set)
{
    const auto pairAt = [set](qsizetype i) {
        return set[i].isHighSurrogate() && i + 1 < set.size() && set[i + 1].isLowSurrogate();
    };
    qsizetype i = 0;
    while (i < set.size() && !pairAt(i))
        ++i;
    if (i == set.size())
        return; // the common case: one unit per character, positions as they stand
    for (i = 0; i < set.size(); i += pairAt(i) ? 2 : 1)
        m_starts.append(i);
    m_starts.append(set.size());
}

QStringView CharacterSet::at(qsizetype i) const
{
    if (m_starts.isEmpty())
        return m_set.mid(i, 1);
    return m_set.mid(m_starts[i], m_starts[i + 1] - m_starts[i]);
}

QStringView PickFrom(const CharacterSet& set, RandomSource& random)
{
    const qsizetype i = random.pickIndex(set.size());
    if (i < 0 || i >= set.size())
        return {};
    return set.at(i);
}

bool AppendLetterGroups(double count, QStringView set, QStringView reinforced, RandomSource& random,
                        const TextSink& append)
{
    return appendTestedGroups(count, set, reinforced, true, random, append, isLetter);
}

bool AppendFigureGroups(double count, QStringView set, RandomSource& random, const TextSink& append)
{
    return appendTestedGroups(count, set, {}, false, random, append, isFigure);
}

void AppendAnyGroups(double count, QStringView set, RandomSource& random, const TextSink& append)
{
    const CharacterSet characters(set);
    const qsizetype groups = RepeatCount(count);
    for (qsizetype g = 0; g < groups; ++g) {
        for (int j = 0; j < GroupLength; ++j)
            append(PickFrom(characters, random));
        append(Space);
    }
}
