#include "games/RecognitionRun.h"

#include <algorithm>

namespace {

double Median(QList<double> values)
{
    std::sort(values.begin(), values.end());
    const qsizetype n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

bool Same(const QString& typed, const QString& character)
{
    return typed.trimmed().compare(character, Qt::CaseInsensitive) == 0;
}

} // namespace

void ReflexMeasure::show(const QString& letter, qint64 atMs)
{
    m_shown = letter;
    m_shownAtMs = atMs;
}

bool ReflexMeasure::key(const QString& typed, qint64 atMs)
{
    if (done() || m_shown.isEmpty() || !Same(typed, m_shown))
        return false;
    m_times.append(std::max<qint64>(0, atMs - m_shownAtMs));
    m_shown.clear();
    return true;
}

int ReflexMeasure::typingMs() const
{
    if (m_times.isEmpty())
        return 0;
    QList<double> times;
    for (const qint64 t : m_times)
        times.append(double(t));
    return int(Median(times));
}

bool RecognitionRun::play(const QString& character)
{
    if (m_waiting || finished())
        return false;
    m_current = character;
    m_endMs.reset();
    m_waiting = true;
    return true;
}

void RecognitionRun::soundEnded(qint64 atMs)
{
    if (m_waiting && !m_endMs)
        m_endMs = atMs;
}

std::optional<RecognitionAnswer> RecognitionRun::key(const QString& typed, qint64 atMs)
{
    if (!m_waiting)
        return std::nullopt;
    m_waiting = false;
    RecognitionAnswer answer{m_current, std::nullopt, false};
    if (m_endMs) {
        answer.ms = int(std::clamp<qint64>(atMs - *m_endMs - m_typingMs, 0, 600'000));
        answer.right = Same(typed, m_current);
    }
    m_answers.append(answer);
    return answer;
}
