// The exam exercise rendered clean and with every band condition on, in pairs within one process: medians and
// their ratio (goal <= 3x).

#include "ExamText.h"
#include "common/Numbers.h"
#include "signs/SignTable.h"
#include "sound/ExerciseFiles.h"
#include "sound/ToneSynthesis.h"
#include "sound/WavHeader.h"
#include "timing/Timing.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const SignFile signs = LoadSignFile(QCoreApplication::applicationDirPath() + u"/telkey.ref");
    if (signs.status != SignFile::Status::Loaded) {
        std::fprintf(stderr, "%s\n", qPrintable(signs.errorText));
        return 1;
    }
    TimingFields timing;
    timing.referenceWord = QStringLiteral("PARIS");
    const double dotMs = LeadingNumber(FormatNumber(DotLengthOf(timing, signs.table).dotMs, QLocale::c()));
    const SampleRuns runs = *MakeSampleRuns(MakeTonePeriod(800, 64), dotMs, 1, 3, 9, 0);
    ExerciseRenderer renderer(signs.table, runs);
    const QString text = ExamText().trimmed();
    const QString start = QStringLiteral("VVV"), end = QStringLiteral("+");
    RenderConditions all;
    all.conditions.noise = all.conditions.fading = all.conditions.qrm = all.conditions.hand = all.conditions.edges =
        true;

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("TEST.wav"));
    auto render = [&](const RenderConditions& conditions) {
        QFile::remove(path);
        QElapsedTimer t;
        t.start();
        QByteArray header = MakeWavHeader();
        if (const Failure failed = WriteExerciseWav(path, header, renderer, start, text, end, {}, {}, conditions)) {
            std::fprintf(stderr, "%s\n", qPrintable(*failed));
            std::exit(1);
        }
        return t.nsecsElapsed() / 1e6;
    };

    const int pairs = 21;
    std::vector<double> cleanMs, allMs, ratios;
    for (int i = 0; i < pairs; ++i) {
        cleanMs.push_back(render({}));
        all.seed = quint64(i);
        allMs.push_back(render(all));
        ratios.push_back(allMs.back() / cleanMs.back());
    }
    std::printf("exam text: %lld characters, WAV %lld bytes with every condition on, %d pairs\n",
                static_cast<long long>(text.size()), static_cast<long long>(QFile(path).size()), pairs);
    std::printf("clean                  median %.3f ms\n", median(cleanMs));
    std::printf("every condition on     median %.3f ms\n", median(allMs));
    std::printf("ratio: median of pairs %.2fx, of medians %.2fx (goal <= 3x)\n", median(ratios),
                median(allMs) / median(cleanMs));
    // Each condition alone, to see where the time goes.
    for (const Conditions::Condition& condition : Conditions::All) {
        RenderConditions one;
        one.conditions.*condition.on = true;
        std::vector<double> ms;
        for (int i = 0; i < pairs; ++i)
            ms.push_back(render(one));
        std::printf("  %-22s median %.3f ms\n", qPrintable(QString::fromUtf16(condition.caption)), median(ms));
    }
    return 0;
}
