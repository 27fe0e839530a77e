#pragma once

#include <functional>

// How a long operation asks whether to go on: told the share done (0 to 1) now and then, it answers false when the
// user has asked to cancel. An empty one never cancels.
using CarryOn = std::function<bool(double done)>;

// How often, in characters, a long loop reports: often enough for a bar that moves, rarely enough to cost nothing.
inline constexpr long long ProgressEvery = 1 << 16;
