#include "sending/TimingAnalysis.h"

#include <QLocale>

#include <algorithm>
#include <cmath>

namespace {

struct Sums
{
    std::array<double, TimingReport::MeasureCount> sum{};
    std::array<double, TimingReport::MeasureCount> squares{};
};

void Add(TimingReport& report, Sums& sums, TimingReport::Measure measure, double dots)
{
    ++report.counts[measure];
    sums.sum[measure] += dots;
    sums.squares[measure] += dots * dots;
    report.histograms[measure].add(dots);
}

void AddCharacter(TimingReport& report, Sums& sums, const DecodedSign& sign)
{
    const double unit = sign.dotUs;
    for (size_t i = 0; i < sign.elements.size(); ++i) {
        const auto& element = sign.elements[i];
        const auto kind = element.kind == ElementKind::Dot ? TimingReport::Dots : TimingReport::Dashes;
        Add(report, sums, kind, static_cast<double>(element.downUs) / unit);
        if (element.gapBeforeUs < 0)
            continue;
        const auto gap =
            i > 0 ? TimingReport::ElementGaps : (sign.afterWordGap ? TimingReport::WordGaps : TimingReport::LetterGaps);
        Add(report, sums, gap, static_cast<double>(element.gapBeforeUs) / unit);
    }
}

// A proportion against the mean dot, 0 when either is missing.
double Ratio(const TimingReport& report, TimingReport::Measure measure)
{
    const double dot = report.meanDots[TimingReport::Dots];
    return dot > 0 && report.counts[measure] > 0 ? report.meanDots[measure] / dot : 0;
}

QString Decimal(double value)
{
    return QLocale(QLocale::French).toString(value, 'f', 1);
}

struct Proportion
{
    double measured;
    int expected;
    double tolerance; // the relative error let pass
    const char16_t* tooShort;
    const char16_t* tooLong;
};

} // namespace

void LengthHistogram::add(double dots)
{
    const int bin = std::clamp(static_cast<int>(std::lround(dots / BinDots)), 0, Bins - 1);
    ++counts[static_cast<size_t>(bin)];
}

TimingReport AnalyseTiming(const std::vector<DecodedSign>& signs)
{
    TimingReport report;
    Sums sums;
    for (const auto& sign : signs)
        if (sign.kind == DecodedSign::Kind::Character && sign.dotUs > 0)
            AddCharacter(report, sums, sign);
    for (int m = 0; m < TimingReport::MeasureCount; ++m) {
        const int n = report.counts[m];
        if (n == 0)
            continue;
        const double mean = sums.sum[m] / n;
        const double variance = std::max(0.0, sums.squares[m] / n - mean * mean);
        report.meanDots[m] = mean;
        report.spread[m] = mean > 0 ? std::sqrt(variance) / mean : 0;
    }
    report.dashDotRatio = Ratio(report, TimingReport::Dashes);
    report.elementGapRatio = Ratio(report, TimingReport::ElementGaps);
    report.letterGapRatio = Ratio(report, TimingReport::LetterGaps);
    report.wordGapRatio = Ratio(report, TimingReport::WordGaps);
    const double dot = report.meanDots[TimingReport::Dots];
    const double gap = report.meanDots[TimingReport::ElementGaps];
    report.weightPercent = dot > 0 && gap > 0 ? 100 * dot / (dot + gap) : 0;
    return report;
}

QString TimingAdvice(const TimingReport& report)
{
    if (report.counts[TimingReport::Dots] + report.counts[TimingReport::Dashes] == 0)
        return QStringLiteral("Pas assez de signes pour juger la manipulation.");
    const std::array<Proportion, 4> proportions{{
        {report.dashDotRatio, 3, 0.15, u"Vos traits sont trop courts", u"Vos traits sont trop longs"},
        {report.elementGapRatio, 1, 0.2, u"Vos espaces entre éléments sont trop courts",
         u"Vos espaces entre éléments sont trop longs"},
        {report.letterGapRatio, 3, 0.2, u"Vos espaces entre lettres sont trop courts",
         u"Vos espaces entre lettres sont trop longs"},
        {report.wordGapRatio, 7, 0.25, u"Vos espaces entre mots sont trop courts",
         u"Vos espaces entre mots sont trop longs"},
    }};
    const Proportion* worst = nullptr;
    double worstError = 0;
    for (const auto& p : proportions) {
        const double error = p.measured > 0 ? std::abs(p.measured / p.expected - 1) / p.tolerance : 0;
        if (error > 1 && error > worstError) {
            worst = &p;
            worstError = error;
        }
    }
    if (worst)
        return QString::fromUtf16(worst->measured < worst->expected ? worst->tooShort : worst->tooLong) +
               QStringLiteral("\u202F: %1 points au lieu de %2.").arg(Decimal(worst->measured)).arg(worst->expected);
    // Praise needs the proportions that make the rhythm: dashes against dots, and the gaps inside characters.
    if (report.dashDotRatio == 0 || report.elementGapRatio == 0)
        return QStringLiteral("Pas assez de signes pour juger la manipulation : il y faut des points, des traits "
                              "et des caractères de plusieurs éléments.");
    const double spread = *std::max_element(report.spread.begin(), report.spread.end());
    if (spread > 0.2)
        return QStringLiteral(
                   "Votre rythme est irrégulier\u202F: vos longueurs s’écartent de %1\u202F% de leur moyenne.")
            .arg(std::lround(spread * 100));
    return QStringLiteral("Belle manipulation\u202F: les proportions sont justes et régulières.");
}

QString MeasuredText(double value)
{
    return value > 0 ? Decimal(value) : QStringLiteral("non mesuré");
}
