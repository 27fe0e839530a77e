#include "history/HistoryGuard.h"

#include <utility>

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

HistoryGuard::HistoryGuard(Open open, std::function<void(const QString&)> report)
    : m_open(std::move(open)), m_history(nullptr), m_report(std::move(report))
{}

void HistoryGuard::openNow() const
{
    if (!m_open)
        return;
    const Result<History*> opened = std::exchange(m_open, nullptr)();
    if (opened)
        m_history = *opened;
    else
        lost(opened.failure());
}

History* HistoryGuard::history() const
{
    openNow();
    return m_history;
}

void HistoryGuard::lost(const QString& message) const
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
    History* history = this->history();
    if (!history)
        return {};
    if (const Failure failed = history->recordCopy(copy))
        lost(*failed);
    return {};
}

Failure HistoryGuard::recordDrillAnswer(const DrillAnswerRecord& answer)
{
    History* history = this->history();
    if (!history)
        return {};
    if (const Failure failed = history->recordDrillAnswer(answer))
        lost(*failed);
    return {};
}

Failure HistoryGuard::recordSendingRun(const SendingRunRecord& run)
{
    if (History* history = this->history())
        runKept(history->recordSendingRun(run));
    return {};
}

Failure HistoryGuard::recordRace(const RaceRecord& race)
{
    if (History* history = this->history())
        runKept(history->recordRace(race));
    return {};
}

Failure HistoryGuard::recordRecognitions(const QList<RecognitionRecord>& run)
{
    if (History* history = this->history())
        runKept(history->recordRecognitions(run));
    return {};
}

Result<QList<RecognitionRecord>> HistoryGuard::recognitions(const QDateTime& since)
{
    History* history = this->history();
    return history ? read(history->recognitions(since)) : QList<RecognitionRecord>();
}

Result<QList<SendingRunRecord>> HistoryGuard::sendingRuns(const QDateTime& since)
{
    History* history = this->history();
    return history ? read(history->sendingRuns(since)) : QList<SendingRunRecord>();
}

Result<QList<RaceRecord>> HistoryGuard::races(const QDateTime& since)
{
    History* history = this->history();
    return history ? read(history->races(since)) : QList<RaceRecord>();
}

Result<QList<SendingRunRecord>> HistoryGuard::drawnSendingRuns(const QDateTime& since)
{
    History* history = this->history();
    return history ? read(history->drawnSendingRuns(since)) : QList<SendingRunRecord>();
}

Result<QList<CopyRecord>> HistoryGuard::copies(const QDateTime& since)
{
    History* history = this->history();
    return history ? read(history->copies(since)) : QList<CopyRecord>();
}

Result<CopyChart> HistoryGuard::copyChart(const QDateTime& since, int columns)
{
    History* history = this->history();
    return history ? read(history->copyChart(since, columns)) : CopyChart();
}

Result<QList<CopyRecord>> HistoryGuard::newestCopies(const QDateTime& since, qsizetype skip, qsizetype count)
{
    History* history = this->history();
    return history ? read(history->newestCopies(since, skip, count)) : QList<CopyRecord>();
}

Result<QList<DrillAnswerRecord>> HistoryGuard::drillAnswers(const QDateTime& since)
{
    History* history = this->history();
    return history ? read(history->drillAnswers(since)) : QList<DrillAnswerRecord>();
}

Result<QList<CharacterWeakness>> HistoryGuard::weaknesses(const QDateTime& since)
{
    History* history = this->history();
    return history ? read(history->weaknesses(since)) : QList<CharacterWeakness>();
}

Result<QList<FieldLoss>> HistoryGuard::fieldLosses(const QDateTime& since)
{
    History* history = this->history();
    return history ? read(history->fieldLosses(since)) : QList<FieldLoss>();
}

Result<bool> HistoryGuard::deleteCopy(qint64 id)
{
    History* history = this->history();
    if (!history)
        return false;
    Result<bool> deleted = history->deleteCopy(id);
    if (deleted)
        return deleted;
    lost(deleted.failure());
    return false;
}
