#include "practice/EchoDrill.h"

#include <cmath>

using namespace Qt::StringLiterals;

namespace {

QString Quoted(const QString& text)
{
    return u"«\u00a0"_s + text + u"\u00a0»"_s;
}

} // namespace

void EchoDrill::start(const QString& character, const QString& pattern, double dotUs, KeyTime now)
{
    m_character = character;
    m_edges.clear();
    m_next = 0;
    double time = double(now);
    for (const QChar element : pattern) {
        const double length = (element == u'-' ? 3 : 1) * dotUs;
        m_edges.push_back({KeyTime(std::llround(time)), true});
        m_edges.push_back({KeyTime(std::llround(time + length)), false});
        time += length + dotUs;
    }
    m_waiting = true;
    ++m_asked;
}

std::vector<KeyEdge> EchoDrill::playedUntil(KeyTime now)
{
    std::vector<KeyEdge> due;
    for (; m_next < m_edges.size() && m_edges[m_next].time <= now; ++m_next)
        due.push_back(m_edges[m_next]);
    return due;
}

std::optional<QString> EchoDrill::answer(const QString& character)
{
    if (!m_waiting || playing())
        return std::nullopt;
    m_waiting = false;
    if (character == m_character) {
        ++m_right;
        return u"Juste\u202F: "_s + Quoted(character);
    }
    return u"Faux\u202F: "_s + Quoted(character) + u" envoyé, "_s + Quoted(m_character) + u" attendu"_s;
}

std::optional<QString> EchoDrill::timeOut(KeyTime now)
{
    const KeyTime played = m_edges.empty() ? 0 : m_edges.back().time;
    if (!m_waiting || playing() || now - played < m_answerUs)
        return std::nullopt;
    m_waiting = false;
    return u"Temps écoulé\u202F: "_s + Quoted(m_character) + u" attendu"_s;
}

QString EchoDrill::score() const
{
    return QString::number(m_right) + (m_right > 1 ? u" justes sur "_s : u" juste sur "_s) + QString::number(m_asked);
}
