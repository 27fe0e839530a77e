#pragma once

#include <QString>

#include <cstdint>

// An exam-size exercise: 30 groups of five letters then 6 of five figures, a space after each group, drawn from a
// fixed seed so that every run renders the same sound (about 3.4 MB of WAV at 12 wpm).
inline QString ExamText(std::uint32_t seed = 12345)
{
    const QString letters = QStringLiteral("abcdefghijklmnopqrstuvwxyz");
    const QString figures = QStringLiteral("0123456789");
    QString text;
    for (int group = 0; group < 36; ++group) {
        const QString& set = group < 30 ? letters : figures;
        for (int i = 0; i < 5; ++i) {
            seed = seed * 1664525u + 1013904223u;
            text += set[int((seed >> 8) % std::uint32_t(set.size()))];
        }
        text += u' ';
    }
    return text;
}
