#pragma once

#include <cstdint>

// Times of the keying inputs: microseconds of a monotonic clock, whatever its origin. A dot at 50 words per minute
// is 24,000 µs, so one microsecond is finer than any contact, serial line or audio frame can tell.
using KeyTime = std::int64_t;

constexpr KeyTime MicrosecondsPerSecond = 1'000'000;

// What every input (keyboard, serial line, MIDI, the tone found in a sound) gives the decoder: the key went down or
// came up at `time`.
struct KeyEdge
{
    KeyTime time = 0;
    bool down = false;

    friend bool operator==(const KeyEdge&, const KeyEdge&) = default;
};

// The dot length in µs at a speed in words per minute (50 dots to the word).
constexpr double DotMicroseconds(double wpm)
{
    return 1'200'000.0 / wpm;
}

// The speed in words per minute of a dot of `dotUs` µs.
constexpr double WordsPerMinute(double dotUs)
{
    return 1'200'000.0 / dotUs;
}
