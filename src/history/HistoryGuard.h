#pragma once

#include "marking/History.h"

#include <functional>

// The history as the window uses it: its first failure is told once through `report`, and from then on the
// program goes on without it (nothing recorded, nothing to read). Without a history at all it is empty from the
// start, and tells nothing. A history opened by `open` is opened at its first use, or when `openNow` is called.
class HistoryGuard : public History
{
public:
    using Open = std::function<Result<History*>()>;

    // `why`: why there is no history at all, when `history` is null.
    HistoryGuard(History* history, std::function<void(const QString&)> report, QString why = {});
    HistoryGuard(Open open, std::function<void(const QString&)> report);

    // Told after a sending run, a race or a recognition run is kept.
    void setRunKept(std::function<void()> told) { m_runKept = std::move(told); }

    // Opens the history if it waits to be; its failure is told as any other.
    void openNow() const;
    // The history waits for its first use.
    bool waiting() const { return bool(m_open); }

    bool available() const override { return history() != nullptr; }
    QString unavailableReason() const override
    {
        openNow();
        return m_why;
    }

    Failure recordCopy(const CopyRecord& copy) override;
    Failure recordDrillAnswer(const DrillAnswerRecord& answer) override;
    Failure recordSendingRun(const SendingRunRecord& run) override;
    Result<QList<SendingRunRecord>> sendingRuns(const QDateTime& since) override;
    Result<QList<SendingRunRecord>> drawnSendingRuns(const QDateTime& since) override;
    Result<QList<CopyRecord>> copies(const QDateTime& since) override;
    Result<CopyChart> copyChart(const QDateTime& since, int columns) override;
    Result<QList<CopyRecord>> newestCopies(const QDateTime& since, qsizetype skip, qsizetype count) override;
    Result<QList<DrillAnswerRecord>> drillAnswers(const QDateTime& since) override;
    Result<QList<CharacterWeakness>> weaknesses(const QDateTime& since) override;
    Result<QList<FieldLoss>> fieldLosses(const QDateTime& since) override;
    Result<bool> deleteCopy(qint64 id) override;
    Failure recordRace(const RaceRecord& race) override;
    Result<QList<RaceRecord>> races(const QDateTime& since) override;
    Failure recordRecognitions(const QList<RecognitionRecord>& run) override;
    Result<QList<RecognitionRecord>> recognitions(const QDateTime& since) override;

private:
    // The failure told, the history dropped; or the run kept told.
    void runKept(const Failure& failed);
    // The history, opened first if it waits to be; null without one.
    History* history() const;
    // The failure told, the history dropped.
    void lost(const QString& message) const;
    template <typename T> Result<T> read(const Result<T>& answer);

    // Opening the history is no change a caller sees: the const functions may do it.
    mutable Open m_open;
    mutable History* m_history;
    std::function<void(const QString&)> m_report;
    mutable QString m_why;
    std::function<void()> m_runKept;
};
