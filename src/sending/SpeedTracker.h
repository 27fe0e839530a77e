#pragma once

#include "sending/DecodedSign.h"

#include <array>
#include <cmath>
#include <vector>

// The sender's dot and dash as learned from the last key-down lengths: two clusters, split where the gap between
// them is widest in proportion (a 2-means on the logarithms), so that a learner's long dots or short dashes move
// the threshold with them. Also the usual gaps of the sender, in dots, learned as they come.
class SpeedTracker
{
public:
    // Before any keying: 12 words per minute, a dash of 3 dots and the usual gaps.
    SpeedTracker();

    // Learns from the key-down lengths of a start, before any was classified; false when they do not tell dots from
    // dashes yet (all alike), unless `force`, when alike lengths are read against the shortest silence between them.
    bool calibrate(const std::vector<KeyTime>& downs, KeyTime shortestGapUs, bool force);

    // The kind of a key-down of `downUs`, then learnt from.
    ElementKind classify(KeyTime downUs);

    // A silence inside a character, between characters or between words, learnt from.
    void learnGap(double gapUs, int level);

    // The silence that ends a character and the one that ends a word, µs.
    double letterThresholdUs() const { return std::sqrt(m_gapDots[0] * m_gapDots[1]) * dotUs(); }
    double wordThresholdUs() const { return std::sqrt(m_gapDots[1] * m_gapDots[2]) * dotUs(); }

    // The sender's dot, µs: a quarter of a dot and a dash, so that a dash too short or too long moves the speed by
    // half its error only. Kept between 3 and 70 words per minute.
    double dotUs() const;

    double dotMeanUs() const { return m_dotUs; }
    double dashMeanUs() const { return m_dashUs; }

private:
    void recluster();

    static constexpr int Window = 24;
    std::array<double, Window> m_recent{}; // logarithms of the last key-down lengths
    int m_count = 0;
    double m_dotUs;
    double m_dashUs;
    std::array<double, 3> m_gapDots{1, 3, 7}; // element, letter and word gaps, in dots
};
