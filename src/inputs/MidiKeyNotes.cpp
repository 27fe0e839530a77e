#include "inputs/MidiKeyNotes.h"

#include <alsa/asoundlib.h>

namespace {

std::optional<KeyInput> InputOfNote(unsigned note)
{
    switch (note) {
    case 0:
        return KeyInput::Straight;
    case 1:
        return KeyInput::DotLever;
    case 2:
        return KeyInput::DashLever;
    default:
        return std::nullopt;
    }
}

} // namespace

std::optional<MidiKeyNotes::Edge> MidiKeyNotes::read(const snd_seq_event& event)
{
    if (event.type != SND_SEQ_EVENT_NOTEON && event.type != SND_SEQ_EVENT_NOTEOFF)
        return std::nullopt;
    const std::optional<KeyInput> input = InputOfNote(event.data.note.note);
    if (!input)
        return std::nullopt;
    const bool down = event.type == SND_SEQ_EVENT_NOTEON && event.data.note.velocity > 0;
    bool& wasDown = m_down[std::size_t(*input)];
    if (down == wasDown)
        return std::nullopt;
    wasDown = down;
    return Edge{*input, down};
}
