#pragma once

#include <QtGlobal>

#include <array>
#include <cstdint>
#include <random>

// The program's one stream of uniform values in [0, 1). Every random choice takes the next value. It starts from the
// same state at every run (unless the user asked for fresh exercises: startFrom(), once, at start-up) and is
// advanced by the clock's seconds at start-up and by one draw every 500 ms, so what the generators see depends on
// when the user presses.
class RandomSource
{
public:
    RandomSource() = default;
    virtual ~RandomSource() = default;
    RandomSource(const RandomSource&) = delete;
    RandomSource& operator=(const RandomSource&) = delete;

    // The next value r, 0 <= r < 1.
    virtual double next();

    // The stream starts again from a state made of `words` (unpredictable numbers from the system).
    void startFrom(const std::array<quint32, 8>& words)
    {
        std::seed_seq seeds(words.begin(), words.end());
        m_engine.seed(seeds);
    }

    // A pick from a set of `size` elements: the 0-based index floor(r * size), with a fresh draw.
    qsizetype pickIndex(qsizetype size) { return static_cast<qsizetype>(next() * static_cast<double>(size)); }

private:
    std::mt19937_64 m_engine{0x746f6e69717565ULL};
};
