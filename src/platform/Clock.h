#pragma once

#include <QDateTime>

// The time of day and the date, as far as the program reads them.
class Clock
{
public:
    virtual ~Clock() = default;
    // The seconds of the current time of day, 0 to 59.
    virtual int secondsOfMinute() const = 0;
    // The date and time now, where results are dated.
    virtual QDateTime now() const = 0;
    // Milliseconds from an arbitrary start on a clock that only goes forward, for measuring durations.
    virtual qint64 monotonicMs() const = 0;
};
