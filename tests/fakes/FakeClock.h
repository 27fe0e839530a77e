#pragma once

#include "platform/Clock.h"

// A clock standing still at a chosen second and date; its durations go by as the test sets them.
class FakeClock : public Clock
{
public:
    int secondsOfMinute() const override { return second; }
    QDateTime now() const override { return date; }
    qint64 monotonicMs() const override { return elapsedMs; }
    int second = 0;
    QDateTime date{QDate(2024, 6, 1), QTime(10, 0)};
    qint64 elapsedMs = 0;
};
