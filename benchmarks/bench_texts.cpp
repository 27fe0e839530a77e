// The French texts: reading and checking the data files, then 1,000 contacts, 1,000 × 20 words and 1,000 plain
// texts (goals: the files in 10 ms or less, 1,000 contacts in 100 ms or less).

#include "common/RandomSource.h"
#include "signs/SignTable.h"
#include "texts/DataTextSource.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <vector>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QString folder = QCoreApplication::applicationDirPath();
    const SignTable signs = LoadSignFile(folder + QStringLiteral("/telkey.ref")).table;
    // The median of 21 readings, each by a new source as the window's first use makes it.
    QElapsedTimer timer;
    std::vector<double> readings;
    for (int i = 0; i < 21; ++i) {
        timer.start();
        DataTextSource fresh({folder + QStringLiteral("/textes")}, signs);
        if (const Failure failed = fresh.loadAll()) {
            std::fprintf(stderr, "%s\n", qPrintable(*failed));
            return 1;
        }
        readings.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(readings.begin(), readings.end());
    std::printf("reading the data files: %.2f ms (median of 21)\n", readings[10]);
    DataTextSource texts({folder + QStringLiteral("/textes")}, signs);
    RandomSource random;
    qsizetype characters = 0;
    const auto measure = [&](const char* what, const auto& make) {
        timer.restart();
        for (int i = 0; i < 1000; ++i)
            characters += make()->text.size();
        std::printf("%s: %.2f ms\n", what, static_cast<double>(timer.nsecsElapsed()) / 1e6);
    };
    measure("1,000 contacts", [&] { return texts.qso(random, std::nullopt); });
    measure("1,000 contacts, 10 characters", [&] { return texts.qso(random, QStringLiteral("eishtmoarn")); });
    measure("1,000 x 20 words", [&] { return texts.words(20, random, std::nullopt); });
    measure("1,000 plain texts", [&] { return texts.plainText(180, random, std::nullopt); });
    std::printf("(%lld characters)\n", static_cast<long long>(characters));
    return 0;
}
