#pragma once

#include "platform/Clock.h"

#include <QTime>

#include <chrono>

// The system's time of day.
class QtClock : public Clock
{
public:
    int secondsOfMinute() const override { return QTime::currentTime().second(); }
    QDateTime now() const override { return QDateTime::currentDateTime(); }
    qint64 monotonicMs() const override
    {
        using namespace std::chrono;
        return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
    }
};
