#pragma once

#include "common/Result.h"
#include "marking/CopyMarking.h"
#include "marking/HistoryCharts.h"

#include <QDateTime>
#include <QList>
#include <QString>

#include <array>
#include <cstdint>
#include <optional>
#include <utility>

// A marked copy as the history keeps it.
struct CopyRecord
{
    QDateTime at;
    int characters = 0; // M
    int errors = 0;     // N
    double wpm = 0;     // the speed of the exercise, words per minute
    PassMark pass;
    bool received = false;
    QList<CharacterTally> tallies;  // recorded, not read back with the copies
    QList<Confusion> confusions;    // the same
    qint64 id = 0;                  // the history's own number for it, read back with the copies
    QList<MarkedField> fields = {}; // the pieces of information copied, recorded, not read back with the copies
};

// What the learner sent in "Manipulation".
enum class SendingKind : std::uint8_t
{
    Free,     // "Libre": nothing to mark
    Exercise, // "Envoyer l'exercice": marked as a copy is
    Echo,     // "Écho": each character played, sent back right or not
};

// A character sent wrong in a sending run, and how often.
struct MissentCharacter
{
    QString character;
    int count = 0;

    bool operator==(const MissentCharacter&) const = default;
};

// A sending run as the history keeps it: its marking and how it was keyed.
struct SendingRunRecord
{
    enum Spread : std::uint8_t
    {
        Dots,
        Dashes,
        ElementGaps,
        LetterGaps,
        WordGaps,
        SpreadCount,
    };
    QDateTime at;
    SendingKind kind = SendingKind::Free;
    int characters = 0; // keyed ("Libre"), of the exercise, or played ("Écho")
    int errors = 0;     // the copy rule's for the exercise, the characters not sent back for "Écho", none for "Libre"
    double wpm = 0;     // the speed learned from the keying
    double dashDotRatio = 0;
    double elementGapRatio = 0;
    double letterGapRatio = 0;
    double wordGapRatio = 0;
    double weightPercent = 0;
    std::array<double, SpreadCount> spreads{}; // standard deviation over the mean of each length
    QList<MissentCharacter> missent;           // the most frequent first
    qint64 id = 0;                             // the history's own number for it, read back with the runs
};

// Where "Manipulation" records its runs: a history, or anything that keeps them.
class SendingRunRecorder
{
public:
    virtual ~SendingRunRecorder() = default;
    // Whether what is recorded is kept.
    virtual bool available() const { return true; }
    // Why the program goes on without a history; empty while it is available.
    virtual QString unavailableReason() const { return {}; }
    // Records one run with its mis-sent characters, all or nothing.
    virtual Failure recordSendingRun(const SendingRunRecord& run) = 0;
};

// How often one kind of information was sent in marked copies, and how often it was lost (not copied right).
struct FieldLoss
{
    FieldKind kind = FieldKind::CallSign;
    int sent = 0;
    int lost = 0;

    bool operator==(const FieldLoss&) const = default;
};

// A right answer of the keyboard copy drill.
struct DrillAnswerRecord
{
    QDateTime at;
    QString character;
    int ms = 0; // reaction time
};

// A finished run of the call-sign race.
struct RaceRecord
{
    QDateTime at;
    int score = 0;
    int topCpm = 0; // the highest speed a call was played at, characters per minute
    int calls = 0;
    int missed = 0;

    bool operator==(const RaceRecord&) const = default;
};

// One character of a finished recognition run: how long after its sound ended the learner knew it, the typing
// time taken off; no time for a key pressed before the end, which is a miss.
struct RecognitionRecord
{
    QDateTime at;
    QString character;
    std::optional<int> ms;
    bool right = false;

    bool operator==(const RecognitionRecord&) const = default;
};

// What the history says of one character over a period.
struct CharacterWeakness
{
    QString character;
    int sent = 0;                   // in marked copies
    int wrong = 0;                  // of those, not copied right
    int miscopied = 0;              // copied where another character was sent, or where nothing was
    QList<Confusion> confusions;    // what was copied when it was sent wrong: the most frequent first, at most 3
    int missent = 0;                // sent wrong on the key in "Manipulation"
    int answers = 0;                // drill answers, at most the last 20
    std::optional<double> medianMs; // median reaction time of those answers
};

// Every marked copy, drill answer and sending run, kept from one session to the next. A failure is the French message
// to show; the caller decides whether to go on without the history.
//
// What a caller gets when the history is unavailable (none could be opened, or it failed once and was dropped): a
// write records nothing and fails with nothing, a read is an empty list, a deletion deletes nothing (false), and
// available() is false with unavailableReason() saying why. Readers go through ReadOrEmpty(), which gives the same
// empty list for a read that failed.
class History : public SendingRunRecorder
{
public:
    // Records one marked copy with its tallies and confusions, all or nothing.
    virtual Failure recordCopy(const CopyRecord& copy) = 0;
    virtual Failure recordDrillAnswer(const DrillAnswerRecord& answer) = 0;
    // The copies marked since `since` (all of them for an invalid time), oldest first, without their tallies.
    virtual Result<QList<CopyRecord>> copies(const QDateTime& since) = 0;
    // The copies marked since `since` as their charts draw them, in at most `columns` columns; read from copies()
    // unless the history sums them up itself.
    virtual Result<CopyChart> copyChart(const QDateTime& since, int columns)
    {
        Result<QList<CopyRecord>> all = copies(since);
        if (!all)
            return Fail(all.failure());
        return ChartOfCopies(*all, columns);
    }
    // At most `count` of the copies marked since `since`, the newest first, after skipping the `skip` newest.
    virtual Result<QList<CopyRecord>> newestCopies(const QDateTime& since, qsizetype skip, qsizetype count)
    {
        Result<QList<CopyRecord>> all = copies(since);
        if (!all)
            return all;
        QList<CopyRecord> newest;
        for (qsizetype i = all->size() - 1 - skip; i >= 0 && newest.size() < count; --i)
            newest.append((*all)[i]);
        return newest;
    }
    // The drill answers given since `since`, oldest first.
    virtual Result<QList<DrillAnswerRecord>> drillAnswers(const QDateTime& since) = 0;
    // Per character since `since`: its errors in marked copies and its median reaction time over its last 20
    // drill answers; ordered by character.
    virtual Result<QList<CharacterWeakness>> weaknesses(const QDateTime& since) = 0;
    // Per kind of information since `since`, the kind lost most often (as a share of those sent) first; none from a
    // history that does not keep the pieces of the copies.
    virtual Result<QList<FieldLoss>> fieldLosses(const QDateTime& since)
    {
        Q_UNUSED(since);
        return QList<FieldLoss>();
    }
    // A history that keeps no sending run records nothing.
    Failure recordSendingRun(const SendingRunRecord& run) override
    {
        Q_UNUSED(run);
        return {};
    }
    // The sending runs since `since` (all of them for an invalid time), oldest first, with their mis-sent characters.
    virtual Result<QList<SendingRunRecord>> sendingRuns(const QDateTime& since)
    {
        Q_UNUSED(since);
        return QList<SendingRunRecord>();
    }
    // Records a finished run of the call-sign race; a history that keeps none records nothing.
    virtual Failure recordRace(const RaceRecord& race)
    {
        Q_UNUSED(race);
        return {};
    }
    // The runs of the race finished since `since`, oldest first.
    virtual Result<QList<RaceRecord>> races(const QDateTime& since)
    {
        Q_UNUSED(since);
        return QList<RaceRecord>();
    }
    // The same runs as "Progrès" draws them: their time, kind, characters, errors, speed, dash/dot ratio and number;
    // the rest left at zero where the history can spare reading it.
    virtual Result<QList<SendingRunRecord>> drawnSendingRuns(const QDateTime& since) { return sendingRuns(since); }
    // Records the characters of a finished recognition run, all or nothing; a history that keeps none records
    // nothing.
    virtual Failure recordRecognitions(const QList<RecognitionRecord>& run)
    {
        Q_UNUSED(run);
        return {};
    }
    // The characters recognised since `since`, oldest first.
    virtual Result<QList<RecognitionRecord>> recognitions(const QDateTime& since)
    {
        Q_UNUSED(since);
        return QList<RecognitionRecord>();
    }
    // Removes the copy numbered `id` with its tallies, confusions and pieces, all or nothing: what is read afterwards
    // is as if it had never been marked. False, and nothing changed, when its tallies cannot be told apart from others'
    // (a history that does not keep them per copy).
    virtual Result<bool> deleteCopy(qint64 id)
    {
        Q_UNUSED(id);
        return false;
    }
};

// The list read, or an empty one when the read failed: the failure has been told where the history is guarded.
template <typename T> QList<T> ReadOrEmpty(Result<QList<T>> answer)
{
    return answer ? std::move(*answer) : QList<T>();
}
