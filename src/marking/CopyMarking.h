#pragma once

#include "common/Result.h"
#include "parameters/PassMark.h"
#include "playback/TextFields.h"

#include <QList>
#include <QString>
#include <QStringView>

// The errors admitted for `characters` sent characters: rounded down to whole errors.
qsizetype AllowedErrors(qsizetype characters, PassMark pass);

enum class Verdict
{
    Nothing,  // nothing was sent: "Rien à corriger"
    Received, // "Reçu"
    Refused,  // "Refusé"
};

// How a column of the marked copy reads.
enum class Mark
{
    Right,
    Wrong,   // another character copied
    Missing, // nothing copied
    Extra,   // copied but not sent
};

// A sent character (empty for an extra one) over the copied one (empty for a missing one).
struct MarkedCharacter
{
    QString sent, copied;
    Mark mark = Mark::Right;
};

// A sent group with the copied characters under it; a group of extra characters only has an empty sent side.
using MarkedGroup = QList<MarkedCharacter>;

// "B reçu comme D", "H manqué", "X en trop", and how often.
struct Confusion
{
    Mark mark = Mark::Wrong;
    QString sent, copied;
    int count = 0;

    bool operator==(const Confusion&) const = default;
};

// How often a character was sent and how often it was not copied right.
struct CharacterTally
{
    QString character;
    int sent = 0;
    int wrong = 0;
};

// A piece of information of the exercise (a call sign, a report, a name...) as it was copied.
struct MarkedField
{
    FieldKind kind = FieldKind::CallSign;
    QString sent;   // as the exercise holds it, each run of white space one space
    QString copied; // in upper case, the copy's groups one space apart; empty when nothing was copied for it
    bool right = false;

    bool operator==(const MarkedField&) const = default;
};

// A part of the exercise ("Groupes", "Texte en clair") counted and judged at the pass mark on its own.
struct MarkedPart
{
    QString label;
    qsizetype characters = 0, errors = 0, allowed = 0;
    int accuracyTenths = 0;
    Verdict verdict = Verdict::Nothing;
};

struct MarkedCopy
{
    qsizetype characters = 0; // M: the sent characters, spaces not counted
    qsizetype errors = 0;     // N
    qsizetype allowed = 0;    // the errors admitted by the pass mark
    PassMark pass;
    int accuracyTenths = 0; // tenths of a percent
    Verdict verdict = Verdict::Nothing;
    // The groups, the confusions (most frequent first) and the tallies of the sent characters come from one
    // alignment; they are left empty when the texts are too far apart for it (`detailed` false).
    bool detailed = true;
    QList<MarkedGroup> groups;
    QList<Confusion> confusions;
    QList<CharacterTally> tallies;
    // From the same alignment, for an exercise made of pieces: each piece of information in text order, and each
    // part with its own count and verdict. Empty for a text without pieces, or when not `detailed`.
    QList<MarkedField> fields;
    QList<MarkedPart> parts;
};

// The most characters, spaces not counted, that the sent text and the copy may each hold to be marked.
constexpr qsizetype MaxMarkedCharacters = 20000;

// Both texts as they are marked: lower case, each run of white space one space, none at either end.
QString NormalisedForMarking(QStringView text);

// Marks `copy` against `sent`: N is the fewest insertions, deletions and substitutions between the two texts taken
// without spaces, M the sent characters; accuracy max(0, 100 × (1 − N / M)); received when N is at most the errors
// admitted. Fails with a French message when a text is too long to be marked. `fields`, positions in `sent`: the
// pieces of the exercise, each marked from the alignment of the whole copy.
Result<MarkedCopy> MarkCopy(QStringView sent, QStringView copy, PassMark pass, const TextFields& fields = {});

// Whole characters, spaces not counted.
qsizetype MarkedLength(QStringView text);

// The share of `characters` sent that was copied right, in tenths of a percent rounded half up:
// max(0, 100 × (1 − errors / characters)); 0 when nothing was sent.
int AccuracyTenths(qint64 characters, qint64 errors);
