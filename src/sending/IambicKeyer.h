#pragma once

#include "sending/DecodedSign.h"
#include "sending/KeyEdge.h"

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

// Turns the two levers of a paddle into key edges, at a given dot length: a lever held repeats its element, both
// squeezed alternate them, and a lever pressed while an element is sent is remembered and sent after it. In mode B
// an element sent while both levers were squeezed is followed by one more of the other kind, even when the levers
// are let go during it; mode A stops at once. Pure logic on the times given: the caller's timer calls advanceTo()
// at nextEventAt(), and takes the edges.
class IambicKeyer
{
public:
    enum class Mode : std::uint8_t
    {
        A,
        B,
    };

    IambicKeyer(Mode mode, KeyTime dotUs);

    // A lever went down or up at `time` (times never go back).
    void paddleEdge(ElementKind lever, bool down, KeyTime time);

    // Sends what is due until `now`.
    void advanceTo(KeyTime now);

    // A straight key needs no keyer: its edges pass through as they are, among the paddle's.
    void straightKeyEdge(KeyEdge edge)
    {
        advanceTo(edge.time);
        m_edges.push_back(edge);
    }

    // When the keyer must next be called, nothing when it is idle.
    std::optional<KeyTime> nextEventAt() const;

    // The key edges sent since the last call, oldest first.
    std::vector<KeyEdge> takeEdges();

private:
    enum class Phase : std::uint8_t
    {
        Idle,
        Element, // the key is down until m_until
        Space,   // the silence after an element, until m_until
    };

    void startElement(ElementKind kind, KeyTime time);
    std::optional<ElementKind> nextElement() const;
    static size_t index(ElementKind kind) { return kind == ElementKind::Dot ? 0 : 1; }
    static ElementKind other(ElementKind kind)
    {
        return kind == ElementKind::Dot ? ElementKind::Dash : ElementKind::Dot;
    }

    Mode m_mode;
    KeyTime m_dotUs;
    Phase m_phase = Phase::Idle;
    KeyTime m_until = 0;
    ElementKind m_last = ElementKind::Dot;
    std::array<bool, 2> m_held{};
    std::array<bool, 2> m_memory{};
    std::vector<KeyEdge> m_edges;
};
