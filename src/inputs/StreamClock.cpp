#include "inputs/StreamClock.h"

#include <algorithm>

namespace {

// How fast the placement may drift later: 1 ms a second (a device clock 0.1 % slow), far above any real clock's
// drift and far below what would change a dot against a dash.
constexpr KeyTime DriftPerSecondUs = 1000;

} // namespace

void StreamClock::read(KeyTime readAt, KeyTime streamTime)
{
    const KeyTime offset = readAt - streamTime;
    if (!m_started || offset <= m_offset) {
        m_offset = offset;
    } else {
        const KeyTime allowed =
            std::max<KeyTime>(0, streamTime - m_lastStream) * DriftPerSecondUs / MicrosecondsPerSecond;
        m_offset = std::min(offset, m_offset + allowed);
    }
    m_started = true;
    m_lastStream = streamTime;
}

KeyTime StreamClock::toMonotonic(KeyTime streamTime) const
{
    return streamTime + m_offset;
}
