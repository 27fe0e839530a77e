#pragma once

#include "sending/KeyEdge.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

// "Écho": a character, a group or a call sign is played, the learner sends it back, each character within the time
// allowed from the end of the playing or from the character before; right (every character right) or wrong is said
// once as many characters were sent as were played, then the next one comes. Pure logic on the times given.
class EchoDrill
{
public:
    // What was judged since the last clearTally(): the characters played, those not sent back right, and those
    // sent back as another character (a character not sent in time is an error, not a character mis-sent).
    struct Tally
    {
        int characters = 0;
        int errors = 0;
        QStringList missent;
    };

    explicit EchoDrill(KeyTime answerUs) : m_answerUs(answerUs) {}
    void setAnswerTime(KeyTime answerUs) { m_answerUs = answerUs; }

    // Plays `characters` from `now`, one pattern each, at the dot given, a letter gap between them.
    void start(const QStringList& characters, const QStringList& patterns, double dotUs, KeyTime now);
    // The key edges of the character played that are due by `now`, for the sidetone.
    std::vector<KeyEdge> playedUntil(KeyTime now);
    bool playing() const { return m_next < m_edges.size(); }
    // The learner sent `character` at `now`: the verdict once the answer is complete, nothing before or when nothing
    // waits for an answer.
    std::optional<QString> answer(const QString& character, KeyTime now);
    // The verdict when the time to answer ran out at `now`, nothing before.
    std::optional<QString> timeOut(KeyTime now);
    // "3 justes sur 4".
    QString score() const;
    const Tally& tally() const { return m_tally; }
    void clearTally() { m_tally = {}; }

private:
    // The answer judged: each character played against the one sent in its place.
    void judge();

    KeyTime m_answerUs;
    Tally m_tally;
    QStringList m_played;
    QStringList m_sent;
    KeyTime m_lastUs = 0; // the end of the playing, then the last character sent
    std::vector<KeyEdge> m_edges;
    size_t m_next = 0;
    bool m_waiting = false;
    int m_right = 0;
    int m_asked = 0;
};
