#pragma once

#include <QString>
#include <QStringView>

#include <optional>

class RandomSource;

// The line above the drill: "MAX = " with the whole part (toward minus infinity) of three dots, then "Ms";
// `dotMs` is the dot length in ms as read from TP.
QString MaxReactionLine(double dotMs);

// A ranked result: the reaction time in ms on at least four digits, a space, the character ("0230 e"). A time
// that is not whole is rounded to the nearest ms first.
QString ResultItem(double reactionMs, QStringView character);

// The drilled character: a character of `set` taken at 1 + floor(r * length) with a fresh draw per attempt, the
// length counting whole characters (a character beyond the 16-bit range is one), until one is found that can be
// typed into the answer: a blank or a control character is drawn again. Nothing after 1001 fruitless attempts (an
// empty set, or nothing to type in it).
std::optional<QString> PickDrillCharacter(QStringView set, RandomSource& random);

// Where `item` goes in a list kept in plain text order (QString::compare, code-point order: "0990 x" < "10230 y"
// < "1100 z"), after the items equal to it. `itemAt(i)` gives the text of item i of the `count` items, which are
// already in that order. Binary search: log2(count) reads.
template <class ItemAt> qsizetype TextOrderPosition(qsizetype count, const QString& item, ItemAt itemAt)
{
    qsizetype low = 0, high = count;
    while (low < high) {
        const qsizetype middle = low + (high - low) / 2;
        if (QString::compare(itemAt(middle), item, Qt::CaseSensitive) <= 0)
            low = middle + 1;
        else
            high = middle;
    }
    return low;
}
