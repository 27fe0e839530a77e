#pragma once

#include "platform/Sidetone.h"

#include <QString>

// The sidetone as a trace: "800 Hz 0.5" for each tone set, "v" for a key-down, "^" for a key-up, "x" for a release.
class FakeSidetone : public Sidetone
{
public:
    void setTone(double hz, double volume) override { tone = QString::number(hz) + " Hz " + QString::number(volume); }
    void key(bool down) override { trace += down ? u'v' : u'^'; }
    void release() override { trace += u'x'; }
    bool heard() const override { return !silent; }
    QString tone;
    bool silent = false; // no sound output
    QString trace;
};
