#pragma once

#include "platform/Entropy.h"

// Gives `words`, then the same words each with one more added, and counts the draws.
class FakeEntropy : public Entropy
{
public:
    Words draw() override
    {
        ++draws;
        Words drawn = words;
        for (quint32& w : words)
            ++w;
        return drawn;
    }
    Words words{1, 2, 3, 4, 5, 6, 7, 8};
    int draws = 0;
};
