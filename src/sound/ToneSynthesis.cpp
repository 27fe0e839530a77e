#include "sound/ToneSynthesis.h"

#include "sound/WavHeader.h"

#include <cmath>

QByteArray MakeTonePeriod(int frequencyHz, int volume)
{
    QByteArray period;
    const double fullTurn = 6.28;
    const double step = (frequencyHz / 1000.0) * (fullTurn / 8);
    if (!(step > 0))
        return period;
    for (double x = 0; x <= fullTurn; x += step) {
        int level = int(std::floor(volume * std::sin(x)));
        if (level < 0)
            level += 255;
        period.append(char(level));
        period.append(char(level));
    }
    period.chop(2);
    return period;
}

std::optional<SampleRuns> MakeSampleRuns(const QByteArray& tonePeriod, double d, double espa, double espb, double espc,
                                         double supl)
{
    if (tonePeriod.isEmpty())
        return std::nullopt;
    const double B = WavFormat::BytesPerMs;
    const double periods = std::floor(B * d / double(tonePeriod.size()));
    const double dotBytes = std::floor(B * d);
    const double gapBytes = std::floor(B * (d * espa));
    const double charGap = std::floor(B * (((espb - espa) + supl) * d));
    const double wordGap = std::floor(B * ((espc - espb) * d));
    const double toneBytes = periods * double(tonePeriod.size());
    const double dotRun = dotBytes + gapBytes - toneBytes;
    const double dashRun = 2 * toneBytes + dotBytes + gapBytes;
    for (const double count : {periods, dotBytes, gapBytes, charGap, wordGap, dotRun}) {
        if (!std::isfinite(count) || count < 0)
            return std::nullopt;
    }
    for (const double bytes : {dashRun, charGap, wordGap}) {
        if (bytes > double(MaxRunBytes))
            return std::nullopt;
    }

    SampleRuns runs;
    const QByteArray tone = tonePeriod.repeated(qsizetype(periods));
    runs.dot = tone;
    runs.dot.append(QByteArray(qsizetype(dotRun), '\0'));
    runs.dash.reserve(2 * tone.size() + runs.dot.size());
    runs.dash.append(tone).append(tone).append(runs.dot);
    runs.charGap = QByteArray(qsizetype(charGap), '\0');
    runs.wordGap = QByteArray(qsizetype(wordGap), '\0');
    runs.elementGap = qsizetype(gapBytes);
    runs.dotBytes = qsizetype(dotBytes);
    runs.dotTone = tone.size();
    runs.periodBytes = tonePeriod.size();
    return runs;
}
