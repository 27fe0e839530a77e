// Marking a sent text of 10,000 characters against a copy with 10 % errors: time and the memory it takes.

#include "marking/CopyMarking.h"
#include "marking/EditDistance.h"

#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>

#include <algorithm>
#include <cstdio>

namespace {

// The process's peak resident memory in kB since the last reset.
long peakKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    }
    return -1;
}

void resetPeak()
{
    QFile refs(QStringLiteral("/proc/self/clear_refs"));
    if (refs.open(QIODevice::WriteOnly))
        refs.write("5");
}

} // namespace

int main()
{
    const QString set = QStringLiteral("abcdefghijklmnopqrstuvwxyz0123456789.,?/");
    QRandomGenerator random(11);
    QString sent;
    for (int group = 0; group < 2000; ++group) {
        for (int i = 0; i < 5; ++i)
            sent += set[random.bounded(int(set.size()))];
        sent += u' ';
    }
    // One character in ten: a wrong one, a missing one or an extra one.
    QString copy;
    for (const QChar c : sent) {
        if (c == u' ' || random.bounded(10) != 0) {
            copy += c;
            continue;
        }
        const int kind = random.bounded(3);
        if (kind == 0)
            copy += set[random.bounded(int(set.size()))];
        else if (kind == 2)
            copy += QString(c) + set[random.bounded(int(set.size()))];
    }

    QList<double> ms;
    qsizetype errors = 0;
    long peak = 0;
    for (int round = 0; round < 11; ++round) {
        resetPeak();
        const long before = peakKb();
        QElapsedTimer clock;
        clock.start();
        const Result<MarkedCopy> marked = MarkCopy(sent, copy, PassMark{});
        ms.append(clock.nsecsElapsed() / 1e6);
        peak = std::max(peak, peakKb() - before);
        errors = marked->errors;
    }
    std::sort(ms.begin(), ms.end());

    // The count alone, 64 rows at a time, on the same texts without spaces.
    Characters a, b;
    for (const char32_t c : sent.toUcs4())
        if (c != U' ')
            a.push_back(c);
    for (const char32_t c : copy.toUcs4())
        if (c != U' ')
            b.push_back(c);
    QList<double> countMs;
    for (int round = 0; round < 11; ++round) {
        QElapsedTimer clock;
        clock.start();
        ErrorCount(a, b);
        countMs.append(clock.nsecsElapsed() / 1e6);
    }
    std::sort(countMs.begin(), countMs.end());
    std::printf("marking 10,000 characters, %lld errors: median %.1f ms, worst %.1f ms, peak memory +%.1f MB\n",
                static_cast<long long>(errors), ms[ms.size() / 2], ms.last(), peak / 1024.0);
    std::printf("of which the count alone: median %.1f ms\n", countMs[countMs.size() / 2]);
    return 0;
}
