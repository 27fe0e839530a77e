#pragma once

#include "platform/Clock.h"

#include <QTime>

// The system's time of day.
class QtClock : public Clock
{
public:
    int secondsOfMinute() const override { return QTime::currentTime().second(); }
    QDateTime now() const override { return QDateTime::currentDateTime(); }
};
