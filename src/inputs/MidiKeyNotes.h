#pragma once

#include "sending/KeyInput.h"

#include <array>
#include <optional>

struct snd_seq_event;

// What a MIDI key adapter's notes mean: note 0 the straight key, 1 the dot lever, 2 the dash lever, on any channel
// (adapters differ in the channel they send on, and a learner should not have to know it). A note-on keys down, a
// note-off or a note-on of velocity 0 keys up; every other note and message means nothing to the key.
class MidiKeyNotes
{
public:
    struct Edge
    {
        KeyInput input;
        bool down;

        bool operator==(const Edge&) const = default;
    };

    // The edge a sequencer event makes, if any: a key already down (or up) that is said so again makes none.
    std::optional<Edge> read(const snd_seq_event& event);

private:
    std::array<bool, 3> m_down{};
};
