#pragma once

#include <QList>
#include <QString>

// One call of a run: what was played, how, and what the learner made of it.
struct RaceCall
{
    QString call;
    int cpm = 0;           // the speed it was played at, characters per minute
    int tone = 0;          // Hz
    bool repeated = false; // played again once (F6): its points are halved
    bool answered = false;
    QString typed;
    bool right = false;
    int score = 0; // its length × cpm, halved after a repeat, nothing when wrong
};

// The call-sign race, without sound or widgets: a run of RaceRun::Calls calls whose speed follows the answers, up
// by RaceRun::Step characters per minute after a right one, down by as much after a wrong one, never below
// RaceRun::Floor.
class RaceRun
{
public:
    static constexpr int Calls = 50;
    static constexpr int Step = 10;
    static constexpr int Floor = 10;

    explicit RaceRun(int startCpm);

    // The next call, played at the current speed; false once the run has all its calls or one is unanswered.
    bool ask(const QString& call, int tone);
    // F6: the current call is played again, once; false when it was already repeated or none is waiting.
    bool repeat();
    // The learner's answer to the current call (case and surrounding spaces aside): scored, the speed moves. False
    // when no call is waiting.
    bool answer(const QString& typed);

    bool waiting() const { return !m_calls.isEmpty() && !m_calls.last().answered; }
    bool finished() const { return m_calls.size() == Calls && !waiting(); }
    int cpm() const { return m_cpm; }
    int score() const;
    // The highest speed a call was played at.
    int topCpm() const;
    const QList<RaceCall>& calls() const { return m_calls; }
    QList<RaceCall> missed() const;

    // The speed that follows `cpm` after a right or a wrong answer.
    static int nextCpm(int cpm, bool right);

private:
    int m_cpm;
    QList<RaceCall> m_calls;
};
