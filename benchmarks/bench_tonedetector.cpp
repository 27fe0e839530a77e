// An hour of a keyed tone in white noise (a minute of sound fed sixty times, 20 words per minute, 700 Hz) through
// the tone detector and the decoder on one core, at 8 and at 48 kHz: how many times faster than real time. The sign
// file is the one beside the executable.
#include "sending/MorseDecoder.h"
#include "sending/ToneDetector.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QTextStream>

#include <cmath>
#include <numbers>
#include <random>

namespace {

// A minute of "paris " keyed on a tone, with noise 6 dB under it.
std::vector<float> MinuteOfKeying(const SignTable& signs, int rateHz)
{
    std::vector<float> samples(std::size_t(rateHz) * 60);
    std::mt19937 random(1);
    std::normal_distribution<float> noise(0, 0.25F);
    const double dotS = DotMicroseconds(20) / 1e6;
    QString keying;
    for (const QChar c : QStringLiteral("paris ").repeated(20))
        keying +=
            c == u' ' ? QStringLiteral("    ") : signs.patternOf(QString(c)).value_or(QString()).trimmed() + u"  ";
    double time = 0;
    std::vector<std::pair<double, double>> tones;
    for (const QChar c : keying) {
        if (c == u'.' || c == u'-')
            tones.emplace_back(time, time + (c == u'-' ? 3 : 1) * dotS);
        time += (c == u'-' ? 4 : 2) * dotS * (c == u' ' ? 0.5 : 1);
    }
    std::size_t next = 0;
    for (std::size_t i = 0; i < samples.size(); ++i) {
        const double t = double(i) / rateHz;
        while (next < tones.size() && tones[next].second < t)
            ++next;
        const bool on = next < tones.size() && tones[next].first <= t;
        samples[i] = float(on ? 0.7 * std::sin(2 * std::numbers::pi * 700 * t) : 0) + noise(random);
    }
    return samples;
}

} // namespace

int main()
{
    QTextStream out(stdout);
    const SignTable signs =
        LoadSignFile(QFileInfo(QStringLiteral("/proc/self/exe")).canonicalPath() + u"/telkey.ref").table;
    for (const int rateHz : {8000, 48000}) {
        const std::vector<float> minute = MinuteOfKeying(signs, rateHz);
        QElapsedTimer timer;
        timer.start();
        ToneDetector detector(rateHz);
        MorseDecoder decoder(signs);
        qsizetype characters = 0;
        constexpr std::size_t Block = 4096;
        for (int m = 0; m < 60; ++m) {
            for (std::size_t done = 0; done < minute.size(); done += Block) {
                detector.feed(minute.data() + done, std::min(Block, minute.size() - done));
                for (const KeyEdge& edge : detector.takeEdges())
                    decoder.keyEdge(edge);
                decoder.advanceTo(detector.now());
                characters += qsizetype(decoder.takeDecoded().size());
            }
        }
        const double seconds = double(timer.nsecsElapsed()) / 1e9;
        out << "Une heure de son à " << rateHz << "\u202FHz\u202F: " << characters << " signes en "
            << qRound(seconds * 1000) << "\u202Fms, " << qRound(3600 / seconds) << " fois le temps réel\n";
    }
    return 0;
}
