#pragma once

#include "platform/Clock.h"

// A clock standing still at a chosen second.
class FakeClock : public Clock
{
public:
    int secondsOfMinute() const override { return second; }
    int second = 0;
};
