#include "inputs/ModemLineFilter.h"

#include <algorithm>

ModemLineFilter::ModemLineFilter(int debounceMs)
    : m_debounce(KeyTime{std::clamp(debounceMs, MinDebounceMs, MaxDebounceMs)} * 1000)
{}

std::vector<LineEdge> ModemLineFilter::read(KeyTime time, bool cts, bool dsr)
{
    std::vector<LineEdge> edges;
    for (Line& line : m_lines) {
        if (const std::optional<LineEdge> edge = readLine(line, time, line.input == KeyInput::DotLever ? cts : dsr)) {
            line.down = edge->down;
            line.deafUntil = time + m_debounce;
            line.changedSince.reset();
            edges.push_back(*edge);
        }
    }
    std::stable_sort(edges.begin(), edges.end(), [](const LineEdge& a, const LineEdge& b) { return a.time < b.time; });
    for (LineEdge& edge : edges) {
        // A change taken late may be older than one the other line already gave.
        if (m_lastEdge)
            edge.time = std::max(edge.time, *m_lastEdge);
        m_lastEdge = edge.time;
    }
    return edges;
}

std::optional<LineEdge> ModemLineFilter::readLine(Line& line, KeyTime time, bool asserted) const
{
    if (asserted == line.down) {
        line.changedSince.reset();
        return std::nullopt;
    }
    if (!line.changedSince)
        line.changedSince = time;
    if (time < line.deafUntil)
        return std::nullopt;
    return LineEdge{line.input, asserted, *line.changedSince};
}

std::optional<KeyTime> ModemLineFilter::recheckAt() const
{
    std::optional<KeyTime> at;
    for (const Line& line : m_lines) {
        if (line.changedSince)
            at = std::min(at.value_or(line.deafUntil), line.deafUntil);
    }
    return at;
}
