#pragma once

#include "platform/Beep.h"

class FakeBeep : public Beep
{
public:
    void beep() override { ++count; }
    int count = 0;
};
