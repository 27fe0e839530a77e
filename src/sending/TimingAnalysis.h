#pragma once

#include "sending/DecodedSign.h"

#include <QString>

#include <array>
#include <cstdint>
#include <vector>

// The measured lengths of one kind of element or gap, in the sender's dots, counted in bins centred on each quarter
// of a dot (bin 12 holds 2,875 to 3,125 dots), so that lengths by the book fall in the middle of theirs.
struct LengthHistogram
{
    static constexpr double BinDots = 0.25;
    static constexpr int Bins = 48; // 0 to 11,75 dots; longer lengths count in the last bin
    std::array<int, Bins> counts{};
    void add(double dots);
};

// How a run was sent, every length measured in the sender's dot as learned at its character (so that a speed that
// drifts does not read as irregular keying).
struct TimingReport
{
    enum Measure : std::uint8_t
    {
        Dots,
        Dashes,
        ElementGaps, // inside a character
        LetterGaps,
        WordGaps,
        MeasureCount,
    };
    std::array<int, MeasureCount> counts{};
    std::array<double, MeasureCount> meanDots{}; // the mean length, dots
    std::array<double, MeasureCount> spread{};   // standard deviation over the mean (0.1: 10 %)
    std::array<LengthHistogram, MeasureCount> histograms{};

    // Proportions against the mean dot: 3, 1, 3 and 7 when the sending is by the book; 0 when not measured (no dot,
    // or none of the other).
    double dashDotRatio = 0;
    double elementGapRatio = 0;
    double letterGapRatio = 0;
    double wordGapRatio = 0;
    // The share of key-down in a dot and the silence after it, percent: 50 by the book; 0 when not measured.
    double weightPercent = 0;
};

// The report of the characters decoded in a run (word spaces and messages are skipped).
TimingReport AnalyseTiming(const std::vector<DecodedSign>& signs);

// One sentence of advice in French on the worst fault of the run, with its figures ("Vos traits sont trop courts :
// 2,4 points au lieu de 3."), or praise when nothing stands out.
QString TimingAdvice(const TimingReport& report);

// A proportion or a weight as shown ("2,9"), or "non mesuré" when the run did not have what it takes.
QString MeasuredText(double value);
