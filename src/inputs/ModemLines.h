#pragma once

#include "sending/KeyEdge.h"

// The modem lines of an open serial port, as the reader thread uses them. Each call returns 0 or the system's error
// number (EIO: the port is gone).
class ModemLines
{
public:
    virtual ~ModemLines() = default;

    // Sleeps until CTS or DSR changes, or until the thread is woken (EINTR).
    virtual int waitForChange() = 0;
    // Reads CTS and DSR (asserted: true).
    virtual int read(bool& cts, bool& dsr) = 0;
    // Sleeps until `time` (µs of the monotonic clock) or until the thread is woken.
    virtual void sleepUntil(KeyTime time) = 0;
};
