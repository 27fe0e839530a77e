#pragma once

#include <QtGlobal>

#include <array>

// Unpredictable numbers from the operating system, to start a random stream from a state no run of the program has
// had before.
class Entropy
{
public:
    using Words = std::array<quint32, 8>;
    virtual ~Entropy() = default;
    virtual Words draw() = 0;
};
