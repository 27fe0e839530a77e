// An hour of hand-sent keying (20 words per minute, every length within ±25 %, the speed drifting ±30 %) decoded
// on one core: how many times faster than real time. The sign file is the one beside the executable.
#include "sending/MorseDecoder.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QTextStream>

#include <cmath>
#include <random>

namespace {

constexpr KeyTime TickUs = MicrosecondsPerSecond / 30;

std::vector<KeyEdge> HourOfKeying(const SignTable& signs, std::mt19937& random)
{
    QStringList alphabet;
    for (int j = 1; j <= SignTable::Capacity; ++j)
        if (!signs.entry(j).pattern.trimmed().isEmpty())
            alphabet << signs.entry(j).pattern.trimmed();
    std::uniform_int_distribution<qsizetype> pick(0, alphabet.size() - 1);
    std::uniform_real_distribution<double> error(-0.25, 0.25);
    std::vector<KeyEdge> edges;
    double time = 0;
    for (int character = 0; time < 3600e6; ++character) {
        const double dot = DotMicroseconds(20 * (1 + 0.3 * std::sin(character / 500.0)));
        const double gap = character % 5 == 0 ? 7 : 3;
        bool first = true;
        for (const QChar element : alphabet[pick(random)]) {
            time += (first ? gap : 1) * dot * (1 + error(random));
            edges.push_back({std::llround(time), true});
            time += (element == u'-' ? 3 : 1) * dot * (1 + error(random));
            edges.push_back({std::llround(time), false});
            first = false;
        }
    }
    return edges;
}

} // namespace

int main()
{
    QTextStream out(stdout);
    const SignTable signs =
        LoadSignFile(QFileInfo(QStringLiteral("/proc/self/exe")).canonicalPath() + u"/telkey.ref").table;
    std::mt19937 random(1);
    const auto edges = HourOfKeying(signs, random);
    QElapsedTimer timer;
    timer.start();
    MorseDecoder decoder(signs);
    qsizetype characters = 0;
    KeyTime tick = 0;
    for (const auto& edge : edges) {
        // The window's timer, 30 times a second, takes what was decoded.
        for (; tick + TickUs < edge.time; tick += TickUs) {
            decoder.advanceTo(tick + TickUs);
            characters += static_cast<qsizetype>(decoder.takeDecoded().size());
        }
        decoder.keyEdge(edge);
    }
    const double seconds = static_cast<double>(timer.nsecsElapsed()) / 1e9;
    const double keyed = static_cast<double>(edges.back().time) / 1e6;
    out << "Décodage d’une heure de manipulation\u202F: " << edges.size() << " fronts, " << characters << " signes en "
        << seconds * 1000 << " ms, " << qRound(keyed / seconds) << " fois le temps réel\n";
    return 0;
}
