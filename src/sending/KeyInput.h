#pragma once

#include <cstdint>

// What a key or a lever stands for, whichever input it comes from.
enum class KeyInput : std::uint8_t
{
    Straight,  // a straight key: the Space bar, a microphone's tone, MIDI note 0
    DotLever,  // the paddle's dot lever: Left Ctrl or "[", CTS, MIDI note 1; a straight key on CTS too
    DashLever, // the paddle's dash lever: Right Ctrl or "]", DSR, MIDI note 2
};
