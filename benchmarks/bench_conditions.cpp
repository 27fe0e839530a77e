// The exam exercise rendered clean and with every band condition on, in pairs within one process: medians and
// their ratio (goal <= 3x).

#include "ExamSound.h"
#include "ExamText.h"
#include "sound/RenderExerciseFiles.h"
#include "sound/ToneSynthesis.h"
#include "sound/WavHeader.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const std::optional<ExamSound> exam = LoadExamSound();
    if (!exam)
        return 1;
    ExerciseRenderer renderer(exam->signs.table, exam->runs);
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
    std::printf("clean                  median %.3f ms\n", Median(cleanMs));
    std::printf("every condition on     median %.3f ms\n", Median(allMs));
    std::printf("ratio: median of pairs %.2fx, of medians %.2fx (goal <= 3x)\n", Median(ratios),
                Median(allMs) / Median(cleanMs));
    // Each condition alone, to see where the time goes.
    for (const Conditions::Condition& condition : Conditions::All) {
        RenderConditions one;
        one.conditions.*condition.on = true;
        std::vector<double> ms;
        for (int i = 0; i < pairs; ++i)
            ms.push_back(render(one));
        std::printf("  %-22s median %.3f ms\n", qPrintable(QString::fromUtf16(condition.caption)), Median(ms));
    }
    return 0;
}
