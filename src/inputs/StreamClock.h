#pragma once

#include "sending/KeyEdge.h"

// Places the times of a sound stream (µs from its first sample) on the monotonic clock. Each read of the stream gives
// one pair: the monotonic time of the read and the stream time of the last sample read. A read comes after its last
// sample by the stream's latency, which is steady, plus a delay that varies from read to read (the thread woken late,
// the server's period); the least difference seen is the steady part, so the stream is placed by it, and an edge is
// never placed after the time it was read. The device's clock may run a little slower than the system's: the
// difference is allowed to grow by at most 1 ms a second towards what the reads show, so the placement follows it
// while a single late read moves it by a hair.
class StreamClock
{
public:
    // A read at `readAt` (monotonic µs) ended at `streamTime` (stream µs).
    void read(KeyTime readAt, KeyTime streamTime);

    // `streamTime` on the monotonic clock; before any read: unchanged.
    KeyTime toMonotonic(KeyTime streamTime) const;

private:
    bool m_started = false;
    KeyTime m_offset = 0;     // monotonic minus stream time
    KeyTime m_lastStream = 0; // stream time of the previous read
};
