// Latency of the sidetone: from the key going down to the first sample of the tone at the sound server, heard on the
// monitor of a null sink. Run under the private sound server of the test scripts:
//   . scripts/lib/pulse.sh && tonique_pulse_start && build/bench_sidetone_latency [rounds]; tonique_pulse_stop
// The key goes down for 100 ms every 300 ms; each tone onset in the recording is matched with its key-down. The
// figures are good to about a millisecond: the null sink renders a little ahead of the clock, and sample 0 of the
// recording is placed in time by the read that came quickest (a key-down may thus show a latency just below zero).
#include "platform/QtSidetone.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QProcess>
#include <QTextStream>
#include <QTimer>

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace {

constexpr int Rate = 48000;
constexpr double SamplesPerMs = Rate / 1000.0;
constexpr int Threshold = 100;                      // of 32767: the first audible samples of the rise
constexpr int QuietBefore = int(50 * SamplesPerMs); // an onset follows at least 50 ms of silence
constexpr int DownMs = 100;
constexpr int PeriodMs = 300;

// Runs the event loop for `ms` milliseconds.
void wait(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
}

// Where each tone starts in 16-bit mono samples: the first loud sample after a stretch of silence.
std::vector<qsizetype> onsets(const QByteArray& bytes)
{
    const auto* samples = reinterpret_cast<const qint16*>(bytes.constData());
    const qsizetype count = bytes.size() / 2;
    std::vector<qsizetype> found;
    qsizetype quiet = 0;
    for (qsizetype i = 0; i < count; ++i) {
        if (std::abs(int(samples[i])) < Threshold) {
            ++quiet;
            continue;
        }
        if (quiet >= QuietBefore)
            found.push_back(i);
        quiet = 0;
    }
    return found;
}

void summary(QTextStream& out, std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    auto at = [&](double q) { return values[std::min(values.size() - 1, size_t(q * double(values.size())))]; };
    out << "key-down -> first sample at the sound server (ms, " << values.size() << " key-downs): min "
        << values.front() << ", median " << at(0.5) << ", p95 " << at(0.95) << ", max " << values.back()
        << " (goal p95 <= 15)\n";
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    QTextStream out(stdout);
    const int rounds = argc > 1 ? std::max(5, QString::fromLocal8Bit(argv[1]).toInt()) : 50;
    const QString sink = qEnvironmentVariable("TONIQUE_NULL_SINK");
    if (sink.isEmpty()) {
        out << "no null sink: run under the private sound server (scripts/lib/pulse.sh), nothing measured\n";
        return 0;
    }

    // The recorder stamps every read; the read that came with the least delay places sample 0 in time.
    QElapsedTimer clock;
    clock.start();
    QProcess recorder;
    QByteArray heard;
    double sampleZeroAtMs = 1e300;
    QObject::connect(&recorder, &QProcess::readyReadStandardOutput, [&] {
        heard += recorder.readAllStandardOutput();
        sampleZeroAtMs =
            std::min(sampleZeroAtMs, double(clock.nsecsElapsed()) / 1e6 - double(heard.size()) / 2 / SamplesPerMs);
    });
    recorder.start(QStringLiteral("parec"),
                   {QStringLiteral("--raw"), QStringLiteral("--rate=48000"), QStringLiteral("--channels=1"),
                    QStringLiteral("--format=s16le"), QStringLiteral("--latency-msec=5"), QStringLiteral("-d"),
                    sink + QStringLiteral(".monitor")});
    if (!recorder.waitForStarted(5000)) {
        out << "parec does not start\n";
        return 1;
    }

    // The sidetone opens its output silent with the tone set, as the window does, and settles with the recorder.
    QtSidetone sidetone;
    sidetone.setTone(700, 0.5);
    wait(1000);
    std::vector<double> keyDownAtMs;
    for (int round = 0; round < rounds; ++round) {
        keyDownAtMs.push_back(double(clock.nsecsElapsed()) / 1e6);
        sidetone.key(true);
        wait(DownMs);
        sidetone.key(false);
        wait(PeriodMs - DownMs);
    }
    wait(300);
    sidetone.release();
    recorder.terminate();
    recorder.waitForFinished(5000);
    heard += recorder.readAllStandardOutput();

    const std::vector<qsizetype> found = onsets(heard);
    if (found.size() != keyDownAtMs.size()) {
        out << "heard " << found.size() << " tones for " << keyDownAtMs.size() << " key-downs in "
            << double(heard.size()) / 2 / SamplesPerMs << " ms of recording: no figure\n";
        return 1;
    }
    std::vector<double> latencies;
    for (size_t i = 0; i < found.size(); ++i)
        latencies.push_back(sampleZeroAtMs + double(found[i]) / SamplesPerMs - keyDownAtMs[i]);
    summary(out, latencies);
    return 0;
}
