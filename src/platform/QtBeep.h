#pragma once

#include "platform/Beep.h"

class QtBeep : public Beep
{
public:
    void beep() override;
};
