#include "sending/SpeedTracker.h"

#include <algorithm>
#include <numeric>
#include <optional>

namespace {

// Beyond the 5 to 50 words per minute of senders, so that one drifting past them is still followed.
constexpr double FastestDotUs = DotMicroseconds(70);
constexpr double SlowestDotUs = DotMicroseconds(3);
// Two clusters are a dot and a dash only when the longer is at least this many times the shorter.
constexpr double LeastDashRatio = 1.8;
constexpr double GapLearning = 0.1;

double Mean(const std::vector<double>& values)
{
    return std::accumulate(values.begin(), values.end(), 0.0) / static_cast<double>(values.size());
}

// The logarithm halfway across the widest gap between sorted logarithms of lengths, when the longest is at least
// twice the shortest.
std::optional<double> WidestSplit(std::vector<double> logs)
{
    std::sort(logs.begin(), logs.end());
    if (logs.size() < 2 || logs.back() - logs.front() < std::log(2.0))
        return std::nullopt;
    size_t widest = 1;
    for (size_t i = 1; i < logs.size(); ++i)
        if (logs[i] - logs[i - 1] > logs[widest] - logs[widest - 1])
            widest = i;
    return 0.5 * (logs[widest] + logs[widest - 1]);
}

} // namespace

SpeedTracker::SpeedTracker() : m_dotUs(DotMicroseconds(12)), m_dashUs(3 * DotMicroseconds(12)) {}

bool SpeedTracker::calibrate(const std::vector<KeyTime>& downs, KeyTime shortestGapUs, bool force)
{
    std::vector<double> sorted(downs.begin(), downs.end());
    std::sort(sorted.begin(), sorted.end());
    if (sorted.size() >= 2 && sorted.back() >= 2 * sorted.front()) {
        // Split where two neighbours are furthest apart in proportion.
        size_t split = 1;
        for (size_t i = 1; i < sorted.size(); ++i)
            if (sorted[i] / sorted[i - 1] > sorted[split] / sorted[split - 1])
                split = i;
        m_dotUs = Mean({sorted.begin(), sorted.begin() + static_cast<std::ptrdiff_t>(split)});
        m_dashUs = Mean({sorted.begin() + static_cast<std::ptrdiff_t>(split), sorted.end()});
        return true;
    }
    if (sorted.empty() || (sorted.size() < 6 && !force))
        return force;
    // Alike lengths: dashes when they are much longer than the silences inside a character, dots otherwise.
    const double median = sorted[sorted.size() / 2];
    const double reference = shortestGapUs > 0 ? 2.0 * static_cast<double>(shortestGapUs) : std::sqrt(3.0) * m_dotUs;
    const bool dashes = median >= reference;
    m_dotUs = dashes ? median / 3 : median;
    m_dashUs = dashes ? median : 3 * median;
    return true;
}

ElementKind SpeedTracker::classify(KeyTime downUs)
{
    const double length = std::max<double>(static_cast<double>(downUs), 1.0);
    const ElementKind kind = length < std::sqrt(m_dotUs * m_dashUs) ? ElementKind::Dot : ElementKind::Dash;
    m_recent[static_cast<size_t>(m_count % Window)] = std::log(length);
    ++m_count;
    recluster();
    return kind;
}

void SpeedTracker::recluster()
{
    const auto n = static_cast<size_t>(std::min(m_count, Window));
    std::vector<double> recent(m_recent.begin(), m_recent.begin() + static_cast<std::ptrdiff_t>(n));
    double threshold = 0.5 * std::log(m_dotUs * m_dashUs);
    double dot = 0;
    double dash = 0;
    for (int round = 0; round < 4; ++round) {
        std::array<double, 2> sums{};
        std::array<int, 2> counts{};
        for (const double value : recent) {
            const size_t side = value < threshold ? 0 : 1;
            sums[side] += std::exp(value);
            ++counts[side];
        }
        if (counts[0] == 0 || counts[1] == 0) {
            // Every recent element on one side: the speed has jumped. Split them afresh where they are furthest apart.
            const auto split = WidestSplit(recent);
            if (round > 0 || !split)
                return; // one kind of element only: nothing to split, the clusters stay
            threshold = *split;
            --round;
            continue;
        }
        dot = sums[0] / counts[0];
        dash = sums[1] / counts[1];
        threshold = 0.5 * std::log(dot * dash);
    }
    if (dash >= LeastDashRatio * dot) {
        m_dotUs = dot;
        m_dashUs = dash;
    }
}

void SpeedTracker::learnGap(double gapUs, int level)
{
    static constexpr std::array<double, 3> least{0.4, 1.5, 4};
    static constexpr std::array<double, 3> most{2.5, 6, 15};
    auto& mean = m_gapDots[static_cast<size_t>(level)];
    // A pause far longer than usual (the learner thinking) says nothing of the rhythm.
    const double dots = std::min(gapUs / dotUs(), 1.5 * mean);
    mean = std::clamp(mean + GapLearning * (dots - mean), least[static_cast<size_t>(level)],
                      most[static_cast<size_t>(level)]);
    // The three gaps keep their order whatever the learner does.
    m_gapDots[1] = std::max(m_gapDots[1], 1.5 * m_gapDots[0]);
    m_gapDots[2] = std::max(m_gapDots[2], 1.5 * m_gapDots[1]);
}

double SpeedTracker::dotUs() const
{
    return std::clamp((m_dotUs + m_dashUs) / 4, FastestDotUs, SlowestDotUs);
}
