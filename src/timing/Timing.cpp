#include "timing/Timing.h"

#include "common/Numbers.h"

#include <cmath>

DotLengthResult DotLengthOf(const TimingFields& f, const SignTable& signs)
{
    DotLengthResult result;
    double total = f.espa - f.espb;
    for (const QChar c : f.referenceWord) {
        const auto pattern = signs.patternOf(QString(c).toLower());
        if (!pattern) {
            result.status = DotLengthResult::Status::MissingCharacter;
            return result;
        }
        for (const QChar symbol : *pattern) {
            if (symbol == u'.')
                total += 1 + f.espa;
            else if (symbol == u'-')
                total += f.dash + f.espa;
        }
        total = total + f.espb - f.espa;
    }
    total -= f.espa;
    result.wordDots = total;
    total *= f.wpm;
    total = total + f.espc * (f.wpm - 1) - f.espa;
    // A minute of no dots, or of fewer than none, has no dot length; an infinite count neither.
    if (!(total > 0) || !std::isfinite(60000.0 / total) || 60000.0 / total <= 0) {
        result.status = DotLengthResult::Status::NoDivisor;
        return result;
    }
    result.dotMs = 60000.0 / total;
    return result;
}

std::optional<double> SpeedOfDotLength(double dotMs, const TimingFields& fields, const SignTable& signs)
{
    const DotLengthResult measured = DotLengthOf(fields, signs);
    if (measured.status == DotLengthResult::Status::MissingCharacter || !(dotMs > 0))
        return std::nullopt;
    // 60000 / dotMs = wpm * W + (wpm - 1) * espc - espa, solved for wpm.
    const double wpm = (60000.0 / dotMs + fields.espc + fields.espa) / (measured.wordDots + fields.espc);
    if (!std::isfinite(wpm) || !(wpm > 0))
        return std::nullopt;
    return wpm;
}

double DotLengthFromText(QString text)
{
    text.replace(u',', u'.');
    return LeadingNumber(text);
}

QStringList ThinkingTimeItems(const QLocale& locale)
{
    QStringList items;
    for (double x = -1; x <= -0.001; x += 0.1)
        items << FormatNumber(x, locale);
    for (double x = 0; x <= 0.9999; x += 0.1)
        items << FormatNumber(x, locale);
    for (double x = 1; x <= 10; x += 1)
        items << FormatNumber(x, locale);
    return items;
}
