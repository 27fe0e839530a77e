#pragma once

#include "platform/Clock.h"

// A clock standing still at a chosen second and date.
class FakeClock : public Clock
{
public:
    int secondsOfMinute() const override { return second; }
    QDateTime now() const override { return date; }
    int second = 0;
    QDateTime date{QDate(2024, 6, 1), QTime(10, 0)};
};
