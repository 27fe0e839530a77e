#pragma once

#include "marking/History.h"

#include <functional>

// The history as the window uses it: its first failure is told once through `report`, and from then on the
// program goes on without it (nothing recorded, nothing to read). Without a history at all it is empty from the
// start, and tells nothing.
class HistoryGuard : public History
{
public:
    HistoryGuard(History* history, std::function<void(const QString&)> report);

    bool available() const { return m_history != nullptr; }

    Failure recordCopy(const CopyRecord& copy) override;
    Failure recordDrillAnswer(const DrillAnswerRecord& answer) override;
    Result<QList<CopyRecord>> copies(const QDateTime& since) override;
    Result<QList<DrillAnswerRecord>> drillAnswers(const QDateTime& since) override;
    Result<QList<CharacterWeakness>> weaknesses(const QDateTime& since) override;
    Result<bool> deleteCopy(qint64 id) override;

private:
    // The failure told, the history dropped.
    void lost(const QString& message);
    template <typename T> Result<QList<T>> read(const Result<QList<T>>& answer);

    History* m_history;
    std::function<void(const QString&)> m_report;
};
