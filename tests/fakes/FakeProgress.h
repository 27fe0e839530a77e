#pragma once

#include "platform/Progress.h"

#include <QStringList>

// Records the operations reported; cancels once `cancelAt` (0 to 1) is reached when it is set.
class FakeProgress : public Progress
{
public:
    void begin(const QString& label) override { labels << label; }
    bool step(double done) override
    {
        steps += 1;
        return !(cancelAt >= 0 && done >= cancelAt);
    }
    void end() override { ++ends; }

    QStringList labels;
    int steps = 0;
    int ends = 0;
    double cancelAt = -1;
};
