#pragma once

#include "parameters/LearnerSettings.h"

#include <QSet>
#include <QString>
#include <QStringView>

#include <optional>

// Whether every character of the exercise `text` (white space left out, capitals as small letters) is one of
// `set`'s: a copy counts for a set only when its exercise was drawn from it, not for an opened text or call signs.
bool DrawnFrom(QStringView text, QStringView set);

// When to offer the next set of a learning order: after each marked copy, once the last three copies made on the
// same progressive set all reached 90 % (at most one error in ten characters). Copies made on any other set count
// for nothing and break nothing. An offer put off ("Plus tard") is not made again for that set in the session.
class Progression
{
public:
    static constexpr int CopiesToMoveOn = 3;

    explicit Progression(ProgressionState state = {}) : m_state(std::move(state)) {}

    const ProgressionState& state() const { return m_state; }

    // A copy of `characters` sent characters with `errors` errors, on an exercise made from the character set `set`:
    // the set to offer now, if any.
    std::optional<QString> copyMarked(QStringView set, qsizetype characters, qsizetype errors);
    // "Plus tard": the current set's offer is put off for the session.
    void putOff() { m_putOff.insert(m_state.item); }
    // "Oui": the learner moves on to `next`, with no copy made on it yet.
    void moveOn(const QString& next) { m_state = {next, 0}; }

private:
    ProgressionState m_state;
    QSet<QString> m_putOff;
};
