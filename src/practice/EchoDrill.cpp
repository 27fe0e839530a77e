#include "practice/EchoDrill.h"

#include <cmath>

using namespace Qt::StringLiterals;

namespace {

QString Quoted(const QString& text)
{
    return u"«\u00a0"_s + text + u"\u00a0»"_s;
}

} // namespace

void EchoDrill::start(const QStringList& characters, const QStringList& patterns, double dotUs, KeyTime now)
{
    m_played = characters;
    m_sent.clear();
    m_edges.clear();
    m_next = 0;
    double time = double(now);
    for (const QString& pattern : patterns) {
        for (const QChar element : pattern) {
            const double length = (element == u'-' ? 3 : 1) * dotUs;
            m_edges.push_back({KeyTime(std::llround(time)), true});
            m_edges.push_back({KeyTime(std::llround(time + length)), false});
            time += length + dotUs;
        }
        time += 2 * dotUs;
    }
    m_lastUs = m_edges.empty() ? now : m_edges.back().time;
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

std::optional<QString> EchoDrill::answer(const QString& character, KeyTime now)
{
    if (!m_waiting || playing())
        return std::nullopt;
    m_sent.append(character);
    m_lastUs = now;
    if (m_sent.size() < m_played.size())
        return std::nullopt;
    m_waiting = false;
    judge();
    const QString sent = m_sent.join(QString());
    if (m_sent == m_played) {
        ++m_right;
        return u"Juste\u202F: "_s + Quoted(sent);
    }
    return u"Faux\u202F: "_s + Quoted(sent) + u" envoyé, "_s + Quoted(m_played.join(QString())) + u" attendu"_s;
}

std::optional<QString> EchoDrill::timeOut(KeyTime now)
{
    if (!m_waiting || playing() || now - m_lastUs < m_answerUs)
        return std::nullopt;
    m_waiting = false;
    judge();
    return u"Temps écoulé\u202F: "_s + Quoted(m_played.join(QString())) + u" attendu"_s;
}

void EchoDrill::judge()
{
    m_tally.characters += int(m_played.size());
    for (qsizetype i = 0; i < m_played.size(); ++i) {
        if (i < m_sent.size() && m_sent[i] == m_played[i])
            continue;
        ++m_tally.errors;
        if (i < m_sent.size())
            m_tally.missent.append(m_played[i]);
    }
}

QString EchoDrill::score() const
{
    return QString::number(m_right) + (m_right > 1 ? u" justes sur "_s : u" juste sur "_s) + QString::number(m_asked);
}
