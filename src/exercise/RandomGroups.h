#pragma once

#include <QList>
#include <QString>
#include <QStringView>

#include <functional>

class RandomSource;

// One write of the exercise text: `piece` joined to its end. The window makes each call run its change handling.
using TextSink = std::function<void(QStringView piece)>;

// How many times a count field asks for (groups, words): i = 1, 2, ... while i <= count, so 2.9 gives 2 and anything
// below 1 (or not a number) gives none. Capped at MaxRepeats so that a count typed as 1e300 cannot exhaust memory:
// 100,000 groups already make 600,000 characters, over a hundred hours of Morse at 12 words per minute.
inline constexpr qsizetype MaxRepeats = 100'000;
qsizetype RepeatCount(double count);

// A character set as picks see it: whole characters (code points), so that a character beyond the 16-bit range
// counts once and is picked whole rather than as one of its two halves.
class CharacterSet
{
public:
    explicit CharacterSet(QStringView set);
    qsizetype size() const { return m_starts.isEmpty() ? m_set.size() : m_starts.size() - 1; }
    QStringView at(qsizetype i) const;

private:
    QStringView m_set;
    QList<qsizetype> m_starts; // where each character begins, then the end; empty when each is a single unit
};

// A pick from `set`: the character at 0-based position floor(r * size), with a fresh draw even when the set is
// empty (the pick is then the empty string).
QStringView PickFrom(const CharacterSet& set, RandomSource& random);

// The character sets are passed as copies taken when the button is pressed rather than re-read before every pick:
// a handler runs to completion and nothing it calls writes TEXT1, Text8 or Text12, so the two are the same.

// "LETTRES": `count` groups of five letters A-Z/a-z picked from `set`, each followed by a space. Per group one
// draw places the reinforced character (when `reinforced` is not empty it replaces the letter drawn at that
// position). A character that needs more than 1000 draws ends the whole operation at once, keeping what was
// appended; returns false then.
bool AppendLetterGroups(double count, QStringView set, QStringView reinforced, RandomSource& random,
                        const TextSink& append);

// "CHIFFRES": as the letter groups with the figures 0-9 of `set`, no reinforcement draw.
bool AppendFigureGroups(double count, QStringView set, RandomSource& random, const TextSink& append);

// "DIV", and the groups of "Tout Mélanger": five picks of any character of `set` per group, no test, no limit.
void AppendAnyGroups(double count, QStringView set, RandomSource& random, const TextSink& append);
