#pragma once

#include "sending/KeyEdge.h"

#include <QString>

#include <optional>
#include <vector>

// "Écho": a character is played, the learner sends it back within the time allowed; right or wrong is said at once,
// then the next one comes. Pure logic on the times given.
class EchoDrill
{
public:
    explicit EchoDrill(KeyTime answerUs) : m_answerUs(answerUs) {}

    // Plays `character` from `now`, its pattern at the dot given.
    void start(const QString& character, const QString& pattern, double dotUs, KeyTime now);
    // The key edges of the character played that are due by `now`, for the sidetone.
    std::vector<KeyEdge> playedUntil(KeyTime now);
    bool playing() const { return m_next < m_edges.size(); }
    // The learner sent `character`: the verdict, or nothing when no character waits for an answer.
    std::optional<QString> answer(const QString& character);
    // The verdict when the time to answer ran out at `now`, nothing before.
    std::optional<QString> timeOut(KeyTime now);
    // "3 justes sur 4".
    QString score() const;

private:
    KeyTime m_answerUs;
    QString m_character;
    std::vector<KeyEdge> m_edges;
    size_t m_next = 0;
    bool m_waiting = false;
    int m_right = 0;
    int m_asked = 0;
};
