// The renderer in one process against the plain writing of as many bytes: pairs of runs, medians printed.

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

    QTemporaryDir dir;
    const QString wavPath = dir.filePath(QStringLiteral("TEST.wav"));
    const QString plainPath = dir.filePath(QStringLiteral("plain.bin"));
    const quint64 length = renderer.wavLength(start, text, end);
    const QByteArray chunk(qsizetype(256) << 10, '\0');

    const int pairs = 21;
    std::vector<double> renderMs, plainMs, ratios;
    for (int i = 0; i < pairs; ++i) {
        QFile::remove(wavPath);
        QElapsedTimer t;
        t.start();
        QByteArray header = MakeWavHeader();
        const Failure failed = WriteExerciseWav(wavPath, header, renderer, start, text, end);
        const double r = t.nsecsElapsed() / 1e6;
        if (failed) {
            std::fprintf(stderr, "%s\n", qPrintable(*failed));
            return 1;
        }

        QFile::remove(plainPath);
        t.start();
        QFile plain(plainPath);
        if (!plain.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
            return 1;
        for (quint64 left = length; left > 0;) {
            const qsizetype n = qsizetype(std::min<quint64>(left, quint64(chunk.size())));
            plain.write(chunk.constData(), n);
            left -= quint64(n);
        }
        plain.close();
        const double p = t.nsecsElapsed() / 1e6;
        renderMs.push_back(r);
        plainMs.push_back(p);
        ratios.push_back(r / p);
    }
    std::printf("exam text: %lld characters, WAV %llu bytes, %d pairs\n", static_cast<long long>(text.size()),
                static_cast<unsigned long long>(length), pairs);
    std::printf("renderer      median %.3f ms\n", Median(renderMs));
    std::printf("plain writing median %.3f ms\n", Median(plainMs));
    std::printf("ratio renderer / plain: median of pairs %.2fx, of medians %.2fx (goal <= 1.3x)\n", Median(ratios),
                Median(renderMs) / Median(plainMs));
    return 0;
}
