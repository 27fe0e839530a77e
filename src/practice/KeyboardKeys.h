#pragma once

#include <cstdint>
#include <optional>

class QKeyEvent;

// What a key of the keyboard stands for while the sending window has the focus.
enum class KeyInput : std::uint8_t
{
    Straight,  // the Space bar: a straight key
    DotLever,  // Left Ctrl or "[": the paddle's dot lever
    DashLever, // Right Ctrl or "]": the paddle's dash lever
};

// The input a key stands for, none for any other key. Left and Right Ctrl are told apart by the key the system
// reports; a Ctrl that says nothing of its side is the left one.
std::optional<KeyInput> KeyInputOf(const QKeyEvent& event);
