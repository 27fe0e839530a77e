// Listening to the microphone: the CPU time the input takes (its thread, the sound server's client thread, all of the
// process) while it hears 20 s of hand-sent keying played into the null sink of the private sound server, as a share
// of one core; and how long after its stamped time each edge reaches the window's thread. Run under the private
// server: `. scripts/lib/pulse.sh && tonique_pulse_start && build/bench_microphone`. The sign file is the one beside
// the executable.
#include "inputs/InputTime.h"
#include "inputs/MicrophoneKeyingSource.h"
#include "sending/MorseDecoder.h"
#include "sound/RenderExerciseFiles.h"
#include "sound/WavHeader.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <sys/resource.h>

using namespace Qt::StringLiterals;

namespace {

QString Pactl(const QStringList& arguments)
{
    QProcess p;
    p.start(u"pactl"_s, arguments);
    p.waitForFinished(10000);
    return QString::fromUtf8(p.readAllStandardOutput()).trimmed();
}

double CpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// "paris " hand-sent at 20 words per minute, noise 12 dB under the tone: about 20 s.
bool Render(const QString& path, const SignTable& signs)
{
    const SampleRuns runs = *MakeSampleRuns(MakeTonePeriod(700, 64), DotMicroseconds(20) / 1000, 1, 3, 7, 0);
    ExerciseRenderer renderer(signs, runs);
    ReceptionConditions conditions;
    conditions.hand = conditions.edges = conditions.noise = true;
    conditions.handPercent = 25;
    conditions.snrDb = 12;
    QByteArray header = MakeWavHeader();
    return !WriteExerciseWav(path, header, renderer, u"", u"paris "_s.repeated(8).trimmed(), u"", {}, {},
                             {conditions, 5});
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    QTextStream out(stdout);
    const QString sink = qEnvironmentVariable("TONIQUE_NULL_SINK");
    if (sink.isEmpty()) {
        out << "no null sink: run under the private sound server (scripts/lib/pulse.sh), nothing measured\n";
        return 0;
    }
    const SignTable signs = LoadSignFile(QFileInfo(u"/proc/self/exe"_s).canonicalPath() + u"/telkey.ref"_s).table;
    QTemporaryDir dir;
    const QString wav = dir.filePath(u"x.wav"_s);
    if (!Render(wav, signs)) {
        out << "cannot render the keying\n";
        return 1;
    }
    // Audio inputs leave monitors out: the null sink's monitor remapped to a source of its own, the default input.
    const QString module = Pactl({u"load-module"_s, u"module-remap-source"_s, u"source_name=tonique_bench"_s,
                                  u"master="_s + sink + u".monitor"_s});
    Pactl({u"set-default-source"_s, u"tonique_bench"_s});

    MicrophoneKeyingSource source;
    MorseDecoder decoder(signs);
    std::vector<double> lagMs;
    QObject::connect(&source, &KeyingSource::edge, [&](KeyInput, bool down, KeyTime time) {
        lagMs.push_back(double(InputTimeNow() - time) / 1000);
        decoder.keyEdge({time, down});
    });
    QString failure;
    if (!source.start(failure)) {
        out << failure << '\n';
        return 1;
    }
    QProcess player;
    QElapsedTimer wall;
    const double cpuBefore = CpuSeconds();
    wall.start();
    QEventLoop played;
    QObject::connect(&player, &QProcess::finished, &played, &QEventLoop::quit);
    player.start(u"paplay"_s, {u"-d"_s, sink, wav});
    played.exec();
    const double cpu = CpuSeconds() - cpuBefore;
    const double seconds = double(wall.elapsed()) / 1000;
    source.stop();
    Pactl({u"unload-module"_s, module});

    decoder.advanceTo(InputTimeNow() + 10 * MicrosecondsPerSecond);
    std::sort(lagMs.begin(), lagMs.end());
    out << "listening for " << seconds << " s: " << cpu << " s of CPU, " << 100 * cpu / seconds
        << " % of one core (goal <= 5 %)\n";
    if (!lagMs.empty())
        out << "edge stamped -> edge on the window's thread (ms, " << lagMs.size() << " edges): median "
            << lagMs[lagMs.size() / 2] << ", p95 " << lagMs[std::min(lagMs.size() - 1, lagMs.size() * 95 / 100)]
            << ", max " << lagMs.back() << '\n';
    out << "decoded: " << TextOf(decoder.takeDecoded()).simplified() << '\n';
    return 0;
}
