#include "training/Progression.h"

#include "training/LearningOrders.h"

#include <algorithm>

bool DrawnFrom(QStringView text, QStringView set)
{
    const QString characters = set.toString().toLower();
    return std::all_of(text.begin(), text.end(),
                       [&characters](QChar c) { return c.isSpace() || characters.contains(c.toLower()); });
}

std::optional<QString> Progression::copyMarked(QStringView set, qsizetype characters, qsizetype errors)
{
    if (!IsProgressiveSet(set) || characters <= 0)
        return std::nullopt;
    if (set != m_state.item)
        m_state = {set.toString(), 0};
    const bool reached = errors * 10 <= characters;
    m_state.inARow = reached ? std::min(m_state.inARow + 1, CopiesToMoveOn) : 0;
    if (m_state.inARow < CopiesToMoveOn || m_putOff.contains(m_state.item))
        return std::nullopt;
    return NextProgressiveSet(m_state.item);
}
