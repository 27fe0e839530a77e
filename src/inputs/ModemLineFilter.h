#pragma once

#include "sending/KeyEdge.h"
#include "sending/KeyInput.h"

#include <array>
#include <optional>
#include <vector>

// A lever's edge as the serial port's modem lines give it, once the contact's bounces are gone.
struct LineEdge
{
    KeyInput input = KeyInput::DotLever;
    bool down = false;
    KeyTime time = 0;

    friend bool operator==(const LineEdge&, const LineEdge&) = default;
};

// Turns readings of the modem lines into the key's edges: CTS is the dot lever (and a straight key), DSR the dash
// lever; a line asserted is a lever held down. A line's change is taken at once, then the line is deaf for the
// debounce time: a bouncing contact gives one edge, and a rattling one at most one edge per line per debounce time
// whatever the rate of its changes. A change still there when the line hears again is taken then, at the time it was
// first read. Edges come out in time order across both lines.
class ModemLineFilter
{
public:
    static constexpr int DefaultDebounceMs = 10;
    static constexpr int MinDebounceMs = 3;
    static constexpr int MaxDebounceMs = 50;

    // `debounceMs` is brought within MinDebounceMs to MaxDebounceMs.
    explicit ModemLineFilter(int debounceMs);

    // The lines read at `time` (not before the previous reading): the edges they make.
    std::vector<LineEdge> read(KeyTime time, bool cts, bool dsr);
    // When to read the lines again, for a change seen while its line was deaf: none when every line is settled.
    std::optional<KeyTime> recheckAt() const;

private:
    struct Line
    {
        KeyInput input;
        bool down = false;
        KeyTime deafUntil = 0;
        std::optional<KeyTime> changedSince; // first reading that differed from `down`
    };
    std::optional<LineEdge> readLine(Line& line, KeyTime time, bool asserted) const;

    KeyTime m_debounce;
    std::array<Line, 2> m_lines{Line{KeyInput::DotLever, false, 0, std::nullopt},
                                Line{KeyInput::DashLever, false, 0, std::nullopt}};
    std::optional<KeyTime> m_lastEdge;
};
