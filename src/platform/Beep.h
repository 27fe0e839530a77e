#pragma once

// The system beep.
class Beep
{
public:
    virtual ~Beep() = default;
    // Sounds the beep once; returns at once.
    virtual void beep() = 0;
};
