#pragma once

#include "exercise/RandomGroups.h"
#include "training/CharacterNeeds.h"

#include <QList>
#include <QStringList>

class RandomSource;

// The draw of the targeted exercise: each character of the set with its share of the picks. A fifth of the picks is
// spread evenly, so that every character keeps coming; the rest goes by need:
//     share(c) = 0.2 / n + 0.8 × need(c) / (sum of the needs), n characters.
// In a set of seven characters or more no share goes beyond 15 %: the even part is then raised (in place of 0.2)
// just enough to bring the neediest character down to 15 %, so that one weak character never fills half an
// exercise while the others keep their order. Without any history every need is 0.5 and the draw is even.
class TargetedDraw
{
public:
    static constexpr double EvenPart = 0.2;
    static constexpr double MaxShare = 0.15;
    static constexpr int CappedFrom = 7; // characters in the set

    explicit TargetedDraw(const QList<CharacterNeed>& needs);

    const QStringList& characters() const { return m_characters; }
    const QList<double>& shares() const { return m_shares; }
    // One pick with a fresh draw r: the first character whose shares, added up in order, exceed r; the empty string
    // for an empty set.
    QStringView pick(RandomSource& random) const;

private:
    QStringList m_characters;
    QList<double> m_shares;
    QList<double> m_ends; // the shares added up, the last one 1
};

// "Exercice ciblé": `count` groups (read as the group counts are) of five picks of `draw`, each followed by a space.
// A set with no character gives up at its 1001st draw, as the letter groups do, keeping what was appended; returns
// false then.
bool AppendTargetedGroups(double count, const TargetedDraw& draw, RandomSource& random, const TextSink& append);
