#pragma once

#include "sending/KeyEdge.h"

// Now, in µs of the monotonic clock the window's own clock reads (std::chrono::steady_clock): the time a reader
// thread stamps on an edge the moment it sees it.
KeyTime InputTimeNow();
