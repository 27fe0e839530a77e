#pragma once

#include "marking/History.h"

#include <QList>
#include <QString>

#include <optional>

// The learner's typing time: a letter shown, typed as fast as possible, ReflexMeasure::Rounds times; the median of
// the times from the letter shown to its key.
class ReflexMeasure
{
public:
    static constexpr int Rounds = 10;

    void show(const QString& letter, qint64 atMs);
    // A key typed at `atMs`: true when it was the letter shown, whose time then counts; any other key is ignored.
    bool key(const QString& typed, qint64 atMs);
    const QString& shown() const { return m_shown; }
    bool done() const { return m_times.size() >= Rounds; }
    int rounds() const { return int(m_times.size()); }
    // The median of the times so far; 0 before the first.
    int typingMs() const;

private:
    QString m_shown;
    qint64 m_shownAtMs = 0;
    QList<qint64> m_times;
};

// One character of a run and the learner's answer to it.
struct RecognitionAnswer
{
    QString character;
    std::optional<int> ms; // from the end of its sound to the key, the typing time taken off; none: typed too soon
    bool right = false;
};

// A recognition run, without sound or widgets: RecognitionRun::Characters characters played one at a time, each
// answered by one key. The time runs from the end of the character's sound, as the player reports it; a key before
// that end is a miss without a time.
class RecognitionRun
{
public:
    static constexpr int Characters = 30;

    explicit RecognitionRun(int typingMs) : m_typingMs(typingMs) {}

    // The next character starts sounding; false once the run has all its characters or one is unanswered.
    bool play(const QString& character);
    // The current character's last sample reached the sound server.
    void soundEnded(qint64 atMs);
    // A key typed at `atMs`: the answer to the current character, or nothing when none waits for one (ignored).
    std::optional<RecognitionAnswer> key(const QString& typed, qint64 atMs);

    bool waiting() const { return m_waiting; }
    bool finished() const { return m_answers.size() == Characters && !m_waiting; }
    const QString& current() const { return m_current; }
    const QList<RecognitionAnswer>& answers() const { return m_answers; }

private:
    int m_typingMs;
    QString m_current;
    bool m_waiting = false;
    std::optional<qint64> m_endMs;
    QList<RecognitionAnswer> m_answers;
};
