#pragma once

#include "fakes/BuildFolder.h"
#include "sending/KeyEdge.h"
#include "signs/SignTable.h"

#include <QString>

#include <cmath>
#include <numbers>
#include <random>
#include <vector>

// How a generated hand sends: its speed, its proportions (in dots), a random error on every element and gap (0.25:
// each length drawn within ±25 %), and a drift of the speed over the text (0.3: up 30 %, down to −30 %, back).
struct KeyingStyle
{
    double wpm = 20;
    double jitter = 0;
    double drift = 0;
    double dashDots = 3;
    double elementGapDots = 1;
    double letterGapDots = 3;
    double wordGapDots = 7;
};

// Random words of the sign table's characters (accented letters and signs included), single spaces between them.
inline QString RandomText(const SignTable& signs, int characters, std::mt19937& random)
{
    QStringList alphabet;
    for (int j = 1; j <= SignTable::Capacity; ++j)
        if (!signs.entry(j).character.isEmpty() && !signs.entry(j).pattern.isEmpty())
            alphabet << signs.entry(j).character;
    std::uniform_int_distribution<qsizetype> pick(0, alphabet.size() - 1);
    std::uniform_int_distribution<int> wordLength(1, 7);
    QString text;
    while (text.size() < characters) {
        if (!text.isEmpty())
            text += u' ';
        for (int n = wordLength(random); n > 0; --n)
            text += alphabet[pick(random)];
    }
    return text;
}

// The key edges of `text` sent in `style`, starting at time 0.
inline std::vector<KeyEdge> KeyText(const SignTable& signs, const QString& text, const KeyingStyle& style,
                                    std::mt19937& random)
{
    std::uniform_real_distribution<double> error(-style.jitter, style.jitter);
    std::vector<KeyEdge> edges;
    double time = 0;
    double gap = 0; // the silence before the next element, dots
    for (qsizetype i = 0; i < text.size(); ++i) {
        const double speed = style.wpm * (1 + style.drift * std::sin(2 * std::numbers::pi * i / text.size()));
        const double dot = DotMicroseconds(speed);
        if (text[i] == u' ') {
            gap = style.wordGapDots;
            continue;
        }
        for (const QChar element : signs.patternOf(text.mid(i, 1)).value_or(QString()).trimmed()) {
            time += (edges.empty() ? 0 : gap) * dot * (1 + error(random));
            edges.push_back({std::llround(time), true});
            time += (element == u'-' ? style.dashDots : 1) * dot * (1 + error(random));
            edges.push_back({std::llround(time), false});
            gap = style.elementGapDots;
        }
        gap = style.letterGapDots;
    }
    return edges;
}

inline SignTable DeliveredSigns()
{
    return LoadSignFile(BuildFolder::file("telkey.ref")).table;
}
