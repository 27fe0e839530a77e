#include "sending/ToneDetector.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <utility>

namespace {

constexpr double FrameSeconds = 0.005;
constexpr double StepHz = 100;
// The level of a frame of digital silence, dB of full scale squared: below any real noise floor.
constexpr double FloorDb = -120;
// A tone must stand this far above the noise floor before it keys anything: the loudest frames of white noise stay
// below it.
constexpr double MinContrastDb = 8;
// Down when the level comes within this much of the signal level, up when it falls further below it; a weak signal
// puts both thresholds nearer the noise floor, in the same proportions.
constexpr double OnBelowDb = 5, OnShare = 0.4;
// The edge is timed where the level crossed the middle between them: where the tone filled half of the frames.
constexpr double MiddleBelowDb = 4, MiddleShare = 0.35;
constexpr double OffBelowDb = 9, OffShare = 0.6;
// How fast the levels follow, per frame: the noise floor; the signal level while the key is down; its
// fall per frame while the key is up, so that a weaker sender after a pause is heard.
constexpr double NoiseFollow = 0.05;
constexpr double NoiseBandDb = 3, NoiseCreepDb = 0.01;
constexpr double SignalFollow = 0.1;
constexpr double SignalDecayDb = 0.02;
// Each filter's average power follows over about a second; another filter takes over when its average is this many
// times the followed one's.
constexpr double AverageFollow = 0.005;
constexpr double TakeOver = 2;
// The first frames set the noise floor and the signal level before any is keyed, so that a sound that starts with
// the tone sounding keeps its first element.
constexpr std::size_t FirstFrames = 100;

} // namespace

ToneDetector::ToneDetector(int rateHz)
    : m_rateHz(std::clamp(rateHz, MinRateHz, MaxRateHz)), m_frameLength(int(std::lround(m_rateHz * FrameSeconds)))
{
    for (int k = 0; k < Bins; ++k)
        m_coefficient[k] = 2 * std::cos(2 * std::numbers::pi * (LowestHz + k * StepHz) / m_rateHz);
}

void ToneDetector::feed(const float* samples, std::size_t count)
{
    for (std::size_t i = 0; i < count; ++i) {
        const double x = samples[i];
        for (int k = 0; k < Bins; ++k) {
            const double s = x + m_coefficient[k] * m_s1[k] - m_s2[k];
            m_s2[k] = m_s1[k];
            m_s1[k] = s;
        }
        if (++m_inFrame == m_frameLength)
            endFrame();
    }
}

void ToneDetector::feed(const std::int16_t* samples, std::size_t count)
{
    constexpr std::size_t Chunk = 1024;
    float buffer[Chunk];
    for (std::size_t done = 0; done < count; done += Chunk) {
        const std::size_t n = std::min(Chunk, count - done);
        for (std::size_t i = 0; i < n; ++i)
            buffer[i] = float(samples[done + i]) / 32768.0F;
        feed(buffer, n);
    }
}

void ToneDetector::finish()
{
    // A sound shorter than the first frames: silence after it.
    while (!m_firstLevels.empty())
        learnLevels(FloorDb);
    if (m_down)
        m_edges.push_back({now(), false});
    m_down = false;
}

std::vector<KeyEdge> ToneDetector::takeEdges()
{
    if (!m_edges.empty())
        m_lastEdge = m_edges.back().time;
    return std::exchange(m_edges, {});
}

KeyTime ToneDetector::now() const
{
    const std::int64_t samples = m_frames * m_frameLength + m_inFrame;
    return samples * MicrosecondsPerSecond / m_rateHz;
}

double ToneDetector::toneHz() const
{
    return m_toneFound ? LowestHz + m_bin * StepHz : 0;
}

void ToneDetector::endFrame()
{
    // A tone of amplitude A over the whole frame gives A² after the scaling.
    const double scale = 4.0 / (double(m_frameLength) * m_frameLength);
    double power[Bins];
    for (int k = 0; k < Bins; ++k) {
        power[k] = (m_s1[k] * m_s1[k] + m_s2[k] * m_s2[k] - m_coefficient[k] * m_s1[k] * m_s2[k]) * scale;
        m_s1[k] = m_s2[k] = 0;
        m_average[k] += AverageFollow * (power[k] - m_average[k]);
    }
    m_inFrame = 0;
    ++m_frames;
    followTone();
    // The level over the last three frames: steadier against noise, and its edges fall half-way through them.
    const double level = (power[m_bin] + m_previous[0][m_bin] + m_previous[1][m_bin]) / 3;
    std::copy(std::begin(m_previous[0]), std::end(m_previous[0]), std::begin(m_previous[1]));
    std::copy(std::begin(power), std::end(power), std::begin(m_previous[0]));
    const double levelDb = std::max(FloorDb, 10 * std::log10(level + 1e-30));
    if (m_frames <= std::int64_t(FirstFrames))
        learnLevels(levelDb);
    else
        keyLevel(levelDb, m_frames);
}

void ToneDetector::followTone()
{
    const int best = int(std::max_element(std::begin(m_average), std::end(m_average)) - std::begin(m_average));
    if (m_bin < 0 || m_average[best] > TakeOver * m_average[m_bin])
        m_bin = best;
}

void ToneDetector::learnLevels(double levelDb)
{
    m_firstLevels.push_back(levelDb);
    if (m_firstLevels.size() < FirstFrames)
        return;
    std::vector<double> sorted = m_firstLevels;
    std::sort(sorted.begin(), sorted.end());
    m_noiseDb = sorted[sorted.size() / 4];
    m_signalDb = sorted.back();
    for (std::size_t i = 0; i < m_firstLevels.size(); ++i)
        keyLevel(m_firstLevels[i], std::int64_t(i) + 1);
    m_firstLevels.clear();
    m_firstLevels.shrink_to_fit();
}

KeyTime ToneDetector::crossing(std::int64_t frame, double middleDb) const
{
    // The last pair of frames on either side of the middle level, or the last two frames when the level has not
    // reached it yet (a key-down found below it): the crossing between or just beyond them.
    std::int64_t first = frame - 1;
    for (std::int64_t j = frame - 1; j > std::max<std::int64_t>(0, frame - History); --j) {
        if ((m_recent[j % History] < middleDb) != (m_recent[(j + 1) % History] < middleDb)) {
            first = j;
            break;
        }
    }
    const double a = m_recent[first % History], b = m_recent[(first + 1) % History];
    const double at = double(first) + (b == a ? 1 : std::clamp((middleDb - a) / (b - a), 0.0, 2.0));
    // The middle of the three frames that each level measures.
    const auto time = KeyTime(std::llround((at - 1.5) * m_frameLength * double(MicrosecondsPerSecond) / m_rateHz));
    return std::max(time, m_edges.empty() ? m_lastEdge + 1 : m_edges.back().time + 1);
}

void ToneDetector::keyLevel(double levelDb, std::int64_t frame)
{
    const double contrast = m_signalDb - m_noiseDb;
    m_recent[frame % History] = levelDb;
    const double middleDb = m_signalDb - std::min(MiddleBelowDb, MiddleShare * contrast);
    if (m_down) {
        if (levelDb < m_signalDb - std::min(OffBelowDb, OffShare * contrast)) {
            m_down = false;
            m_edges.push_back({crossing(frame, middleDb), false});
            m_sinceUp = 0;
        } else {
            m_signalDb += SignalFollow * (levelDb - m_signalDb);
        }
        return;
    }
    m_signalDb = std::max(levelDb, std::max(m_noiseDb, m_signalDb - SignalDecayDb));
    if (contrast >= MinContrastDb && levelDb >= m_signalDb - std::min(OnBelowDb, OnShare * contrast)) {
        m_down = m_toneFound = true;
        m_edges.push_back({crossing(frame, middleDb), true});
        return;
    }
    // The noise floor as the mean power of the silences, without the frames still holding the end of a tone or a
    // tone too weak to key: a fading signal must not raise the floor up to itself. A floor that truly rises (the
    // volume turned up) is followed slowly all the same.
    if (++m_sinceUp <= 3)
        return;
    if (levelDb < m_noiseDb + std::max(NoiseBandDb, contrast / 2)) {
        const double noise = std::pow(10, m_noiseDb / 10);
        m_noiseDb = 10 * std::log10(noise + NoiseFollow * (std::pow(10, levelDb / 10) - noise));
    } else {
        m_noiseDb += NoiseCreepDb;
    }
}
