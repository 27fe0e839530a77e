#pragma once

#include "marking/History.h"

#include <QList>
#include <QString>
#include <QStringView>

// The period of the history that the training looks at, in days.
inline constexpr int NeedPeriodDays = 30;
// How much a character copied in another's place counts against it, against one sent and not recognised.
inline constexpr double MiscopiedWeight = 0.25;

// How much a character needs practice, from what the history says of it.
struct CharacterNeed
{
    QString character;         // as the set (or the sign table) spells it
    CharacterWeakness history; // its results, capitals and small letters together; all zero when none
    // (wrong + missent + ¼ miscopied + 1) / (sent + missent + miscopied + 2), at most 1: the times it was sent and
    // not copied right, the times it was sent wrong on the key, and, for a quarter each, the times it was copied in
    // another's place, over all the times it took part. A
    // character written for another was recognised as itself: it is the other one that was missed. One success and
    // one failure are assumed beforehand, so that a character never sent counts as uncertain (0.5) rather than as
    // known.
    double errorRate = 0.5;
    // Its median drill reaction time over the learner's (the median of every drilled character's median), kept
    // between 0.5 and 2; 1 when it has no drill answer.
    double speedFactor = 1;

    // Error rate × speed factor: 0.5 for a character the history says nothing of.
    double need() const { return errorRate * speedFactor; }
    // Whether the history says anything of it.
    bool known() const
    {
        return history.sent > 0 || history.miscopied > 0 || history.missent > 0 || history.answers > 0;
    }
    // Whether the history shows it weak: an error, copied or keyed, or a reaction slower than the learner's usual one.
    bool shownWeak() const
    {
        return history.wrong > 0 || history.miscopied > 0 || history.missent > 0 || speedFactor > 1;
    }
};

// The distinct characters of `characters` (white space left out), in the order they first appear, each with its
// need according to `weaknesses`.
QList<CharacterNeed> CharacterNeeds(QStringView characters, const QList<CharacterWeakness>& weaknesses);

// The character shown weak that needs practice most (the first of equals); null when none is: a set copied without
// an error and drilled at the usual speed has nothing to reinforce.
const CharacterNeed* WeakestCharacter(const QList<CharacterNeed>& needs);

// What the history says of a character, a line each for its copies, its confusions, its drill answers and, once it
// was sent wrong on the key, its sending.
QString NeedText(const CharacterNeed& need);

// What the recognition runs say of each character, in the form the targeted draw weighs: the times it was played
// (`sent`), missed (`wrong`), and the median time of its last 20 right answers (`answers`, `medianMs`).
QList<CharacterWeakness> RecognitionWeaknesses(const QList<RecognitionRecord>& records);
