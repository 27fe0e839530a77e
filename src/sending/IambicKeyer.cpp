#include "sending/IambicKeyer.h"

IambicKeyer::IambicKeyer(Mode mode, KeyTime dotUs) : m_mode(mode), m_dotUs(dotUs) {}

void IambicKeyer::paddleEdge(ElementKind lever, bool down, KeyTime time)
{
    advanceTo(time);
    m_held[index(lever)] = down;
    if (!down)
        return;
    if (m_phase == Phase::Idle)
        startElement(lever, time);
    else if (lever != m_last || m_phase == Phase::Space)
        m_memory[index(lever)] = true;
}

void IambicKeyer::advanceTo(KeyTime now)
{
    while (m_phase != Phase::Idle && m_until <= now) {
        if (m_phase == Phase::Element) {
            m_edges.push_back({m_until, false});
            m_phase = Phase::Space;
            m_until += m_dotUs;
            continue;
        }
        const auto next = nextElement();
        if (next)
            startElement(*next, m_until);
        else
            m_phase = Phase::Idle;
    }
}

std::optional<ElementKind> IambicKeyer::nextElement() const
{
    const ElementKind alternate = other(m_last);
    if (m_memory[index(alternate)] || (m_held[0] && m_held[1]))
        return alternate;
    if (m_memory[index(m_last)] || m_held[index(m_last)])
        return m_last;
    if (m_held[index(alternate)])
        return alternate;
    return std::nullopt;
}

void IambicKeyer::startElement(ElementKind kind, KeyTime time)
{
    m_edges.push_back({time, true});
    m_phase = Phase::Element;
    m_until = time + (kind == ElementKind::Dot ? m_dotUs : 3 * m_dotUs);
    m_last = kind;
    m_memory[index(kind)] = false;
    // Mode B: a squeeze under way is remembered, so that letting go of both levers still sends the other element.
    if (m_mode == Mode::B && m_held[index(other(kind))])
        m_memory[index(other(kind))] = true;
}

std::optional<KeyTime> IambicKeyer::nextEventAt() const
{
    if (m_phase == Phase::Idle)
        return std::nullopt;
    return m_until;
}

std::vector<KeyEdge> IambicKeyer::takeEdges()
{
    std::vector<KeyEdge> edges;
    edges.swap(m_edges);
    return edges;
}
