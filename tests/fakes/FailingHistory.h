#pragma once

#include "marking/History.h"

// A history that fails at everything with the same message, as a locked or full database does.
class FailingHistory : public History
{
public:
    explicit FailingHistory(QString message) : m_message(std::move(message)) {}

    Failure recordCopy(const CopyRecord&) override { return m_message; }
    Failure recordDrillAnswer(const DrillAnswerRecord&) override { return m_message; }
    Result<QList<CopyRecord>> copies(const QDateTime&) override { return Fail(m_message); }
    Result<QList<DrillAnswerRecord>> drillAnswers(const QDateTime&) override { return Fail(m_message); }
    Result<QList<CharacterWeakness>> weaknesses(const QDateTime&) override { return Fail(m_message); }
    Result<QList<FieldLoss>> fieldLosses(const QDateTime&) override { return Fail(m_message); }
    Result<bool> deleteCopy(qint64) override { return Fail(m_message); }
    Failure recordRace(const RaceRecord&) override { return m_message; }
    Result<QList<RaceRecord>> races(const QDateTime&) override { return Fail(m_message); }

private:
    QString m_message;
};
