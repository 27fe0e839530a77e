#pragma once

#include "sending/KeyInput.h"

#include <optional>

class QKeyEvent;

// The input a key stands for, none for any other key. Left and Right Ctrl are told apart by the key the system
// reports; a Ctrl that says nothing of its side is the left one.
std::optional<KeyInput> KeyInputOf(const QKeyEvent& event);
