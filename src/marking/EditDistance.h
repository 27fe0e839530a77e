#pragma once

#include <QList>
#include <QStringView>

#include <cstdint>
#include <optional>
#include <vector>

// A text as whole characters (code points), spaces already taken out.
using Characters = std::vector<char32_t>;

// The fewest single-character insertions, deletions and substitutions that turn `a` into `b`. Computed 64 rows of
// the table at a time (bit-parallel): time grows as |a| × |b| / 64, memory as |a| + |b|.
qsizetype ErrorCount(const Characters& a, const Characters& b);

// The same count by the plain table, one row at a time: the reference the fast count is checked against.
qsizetype PlainErrorCount(const Characters& a, const Characters& b);

// Whether the fast count and the reference agree on two texts of any characters, spaces included. Meant for
// fuzzing: it must hold, and return, for every input.
bool ErrorCountMatchesReference(QStringView a, QStringView b);

// One step of an alignment of the sent text with the copy.
enum class Step : std::uint8_t
{
    Pair,    // a sent character and a copied one side by side, the same or not
    Missing, // a sent character with nothing copied for it
    Extra,   // a copied character that was not sent
};

// The texts to align, each with the characters that begin a group (a character after a space).
struct AlignedTexts
{
    const Characters& sent;
    const std::vector<bool>& sentGroupStarts;
    const Characters& copy;
    const std::vector<bool>& copyGroupStarts;
};

// One alignment with the fewest errors (`errors`, from ErrorCount): among those, the one that keeps the groups of
// both texts together best (fewest group beginnings beside characters that begin no group, fewest missing
// characters inside a copied group and extra ones inside a sent group), and among those always the same one. Its table
// holds one byte per cell in a band of errors + 1 diagonals; nothing when that band would take more than `maxCells`
// cells.
std::optional<std::vector<Step>> AlignTexts(const AlignedTexts& texts, qsizetype errors, qsizetype maxCells);
