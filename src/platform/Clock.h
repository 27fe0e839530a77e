#pragma once

// The time of day, as far as the program reads it.
class Clock
{
public:
    virtual ~Clock() = default;
    // The seconds of the current time of day, 0 to 59.
    virtual int secondsOfMinute() const = 0;
};
