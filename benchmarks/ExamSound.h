#pragma once

#include "common/Numbers.h"
#include "signs/SignTable.h"
#include "sound/ToneSynthesis.h"
#include "timing/Timing.h"

#include <QCoreApplication>

#include <algorithm>
#include <cstdio>
#include <optional>
#include <vector>

// What the exam exercise is rendered from: the sign file beside the benchmark, and the runs of PARIS at 12 wpm
// with an 800 Hz tone at volume 64, the dot length read back from its text as the window does.
struct ExamSound
{
    SignFile signs;
    SampleRuns runs;
};

// The exam's pieces, or nothing (the reason on stderr) when the sign file cannot be read.
inline std::optional<ExamSound> LoadExamSound()
{
    SignFile signs = LoadSignFile(QCoreApplication::applicationDirPath() + u"/telkey.ref");
    if (signs.status != SignFile::Status::Loaded) {
        std::fprintf(stderr, "%s\n", qPrintable(signs.errorText));
        return std::nullopt;
    }
    TimingFields timing;
    timing.referenceWord = QStringLiteral("PARIS");
    const double dotMs = LeadingNumber(FormatNumber(DotLengthOf(timing, signs.table).dotMs, QLocale::c()));
    SampleRuns runs = *MakeSampleRuns(MakeTonePeriod(800, 64), dotMs, 1, 3, 9, 0);
    return ExamSound{std::move(signs), std::move(runs)};
}

inline double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}
