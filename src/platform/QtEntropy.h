#pragma once

#include "platform/Entropy.h"

#include <QRandomGenerator>

// The system's source of entropy, as Qt reaches it.
class QtEntropy : public Entropy
{
public:
    Words draw() override
    {
        Words words{};
        QRandomGenerator::system()->generate(words.begin(), words.end());
        return words;
    }
};
