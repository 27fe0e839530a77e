#pragma once

#include "sending/KeyEdge.h"

#include <cstddef>
#include <cstdint>
#include <vector>

// Finds a keyed tone between 300 and 1500 Hz in a sound and turns it into key edges, for a recording or a
// microphone alike. The sound comes in blocks of any length (16-bit or float samples, one channel, 8 to 48 kHz); a
// bank of tone filters finds the loudest steady tone and follows it, and its level is compared with a threshold set
// between the noise floor and the signal level, both followed over time, with hysteresis. The edges are stamped in µs
// from the first sample. A plain value with no Qt object and a memory of a few frames: it runs on any thread.
class ToneDetector
{
public:
    static constexpr int MinRateHz = 8000;
    static constexpr int MaxRateHz = 48000;
    static constexpr double LowestHz = 300;
    static constexpr double HighestHz = 1500;

    // `rateHz` from MinRateHz to MaxRateHz.
    explicit ToneDetector(int rateHz);

    void feed(const std::int16_t* samples, std::size_t count);
    void feed(const float* samples, std::size_t count); // full scale ±1

    // The end of the sound: a key still down comes up at the last sample.
    void finish();

    // The edges found since the last call, oldest first.
    std::vector<KeyEdge> takeEdges();

    // The time of the sound fed so far, µs.
    KeyTime now() const;

    // The tone followed, Hz; none found yet: 0.
    double toneHz() const;

private:
    static constexpr int Bins = 13; // 300 to 1500 Hz, every 100 Hz
    static constexpr int History = 4;
    void endFrame();
    void followTone();
    void learnLevels(double levelDb);
    void keyLevel(double levelDb, std::int64_t frame);
    KeyTime crossing(std::int64_t frame, double middleDb) const;

    int m_rateHz;
    int m_frameLength;
    double m_coefficient[Bins]{};
    double m_s1[Bins]{};
    double m_s2[Bins]{};
    double m_average[Bins]{};     // each filter's power, averaged over about a second
    double m_previous[2][Bins]{}; // each filter's power in the two previous frames
    double m_recent[History]{};   // the levels of the last frames, dB
    KeyTime m_lastEdge = -1;
    int m_sinceUp = 0; // frames since the key came up
    int m_inFrame = 0;
    std::int64_t m_frames = 0;
    int m_bin = -1; // the filter followed
    double m_noiseDb = -200;
    double m_signalDb = -200;
    std::vector<double> m_firstLevels; // the levels of the first frames, until the levels are first set
    bool m_down = false;
    bool m_toneFound = false;
    std::vector<KeyEdge> m_edges;
};
