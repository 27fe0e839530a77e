#include "games/RaceRun.h"

#include <algorithm>

RaceRun::RaceRun(int startCpm) : m_cpm(std::max(startCpm, Floor)) {}

bool RaceRun::ask(const QString& call, int tone)
{
    if (waiting() || m_calls.size() >= Calls)
        return false;
    RaceCall asked;
    asked.call = call;
    asked.cpm = m_cpm;
    asked.tone = tone;
    m_calls.append(asked);
    return true;
}

bool RaceRun::repeat()
{
    if (!waiting() || m_calls.last().repeated)
        return false;
    m_calls.last().repeated = true;
    return true;
}

bool RaceRun::answer(const QString& typed)
{
    if (!waiting())
        return false;
    RaceCall& current = m_calls.last();
    current.answered = true;
    current.typed = typed.trimmed();
    current.right = current.typed.compare(current.call, Qt::CaseInsensitive) == 0;
    if (current.right) {
        const int full = int(current.call.size()) * current.cpm;
        current.score = current.repeated ? full / 2 : full;
    }
    m_cpm = nextCpm(m_cpm, current.right);
    return true;
}

int RaceRun::score() const
{
    int total = 0;
    for (const RaceCall& call : m_calls)
        total += call.score;
    return total;
}

int RaceRun::topCpm() const
{
    int top = 0;
    for (const RaceCall& call : m_calls)
        top = std::max(top, call.cpm);
    return top;
}

QList<RaceCall> RaceRun::missed() const
{
    QList<RaceCall> missed;
    for (const RaceCall& call : m_calls)
        if (call.answered && !call.right)
            missed.append(call);
    return missed;
}

int RaceRun::nextCpm(int cpm, bool right)
{
    return right ? cpm + Step : std::max(Floor, cpm - Step);
}
