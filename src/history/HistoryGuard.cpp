#include "history/HistoryGuard.h"

HistoryGuard::HistoryGuard(History* history, std::function<void(const QString&)> report, QString why)
    : m_history(history), m_report(std::move(report)),
      m_why(history || !why.isEmpty() ? std::move(why) : QStringLiteral("Tonique fonctionne sans historique."))
{}

void HistoryGuard::runKept(const Failure& failed)
{
    if (failed)
        lost(*failed);
    else if (m_runKept)
        m_runKept();
}

void HistoryGuard::lost(const QString& message)
{
    m_history = nullptr;
    m_why = message;
    if (m_report)
        m_report(message);
}

template <typename T> Result<T> HistoryGuard::read(const Result<T>& answer)
{
    if (answer)
        return answer;
    lost(answer.failure());
    return T();
}

Failure HistoryGuard::recordCopy(const CopyRecord& copy)
{
    if (!m_history)
        return {};
    if (const Failure failed = m_history->recordCopy(copy))
        lost(*failed);
    return {};
}

Failure HistoryGuard::recordDrillAnswer(const DrillAnswerRecord& answer)
{
    if (!m_history)
        return {};
    if (const Failure failed = m_history->recordDrillAnswer(answer))
        lost(*failed);
    return {};
}

Failure HistoryGuard::recordSendingRun(const SendingRunRecord& run)
{
    if (m_history)
        runKept(m_history->recordSendingRun(run));
    return {};
}

Failure HistoryGuard::recordRace(const RaceRecord& race)
{
    if (m_history)
        runKept(m_history->recordRace(race));
    return {};
}

Failure HistoryGuard::recordRecognitions(const QList<RecognitionRecord>& run)
{
    if (m_history)
        runKept(m_history->recordRecognitions(run));
    return {};
}

Result<QList<RecognitionRecord>> HistoryGuard::recognitions(const QDateTime& since)
{
    return m_history ? read(m_history->recognitions(since)) : QList<RecognitionRecord>();
}

Result<QList<SendingRunRecord>> HistoryGuard::sendingRuns(const QDateTime& since)
{
    return m_history ? read(m_history->sendingRuns(since)) : QList<SendingRunRecord>();
}

Result<QList<RaceRecord>> HistoryGuard::races(const QDateTime& since)
{
    return m_history ? read(m_history->races(since)) : QList<RaceRecord>();
}

Result<QList<SendingRunRecord>> HistoryGuard::drawnSendingRuns(const QDateTime& since)
{
    return m_history ? read(m_history->drawnSendingRuns(since)) : QList<SendingRunRecord>();
}

Result<QList<CopyRecord>> HistoryGuard::copies(const QDateTime& since)
{
    return m_history ? read(m_history->copies(since)) : QList<CopyRecord>();
}

Result<CopyChart> HistoryGuard::copyChart(const QDateTime& since, int columns)
{
    return m_history ? read(m_history->copyChart(since, columns)) : CopyChart();
}

Result<QList<CopyRecord>> HistoryGuard::newestCopies(const QDateTime& since, qsizetype skip, qsizetype count)
{
    return m_history ? read(m_history->newestCopies(since, skip, count)) : QList<CopyRecord>();
}

Result<QList<DrillAnswerRecord>> HistoryGuard::drillAnswers(const QDateTime& since)
{
    return m_history ? read(m_history->drillAnswers(since)) : QList<DrillAnswerRecord>();
}

Result<QList<CharacterWeakness>> HistoryGuard::weaknesses(const QDateTime& since)
{
    return m_history ? read(m_history->weaknesses(since)) : QList<CharacterWeakness>();
}

Result<QList<FieldLoss>> HistoryGuard::fieldLosses(const QDateTime& since)
{
    return m_history ? read(m_history->fieldLosses(since)) : QList<FieldLoss>();
}

Result<bool> HistoryGuard::deleteCopy(qint64 id)
{
    if (!m_history)
        return false;
    Result<bool> deleted = m_history->deleteCopy(id);
    if (deleted)
        return deleted;
    lost(deleted.failure());
    return false;
}
