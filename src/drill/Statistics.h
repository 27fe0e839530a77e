#pragma once

#include <QStringList>
#include <QStringView>

// How often each character occurs in a text, as the items of the statistics list: the count on at least three
// digits, "=", then the character ("012=e"). Characters are counted by their code in the Windows-1252 page, so
// upper and lower case count apart and a character the page lacks counts as "?" (code 63). Codes 1 to 255 are
// listed; a NUL in the text is counted but never listed.
//
// The items come back in the list's order: plain text order of the items (QString::compare, code-point order),
// which is ascending count below 1000 and, for equal counts, the order of the characters' code points.
QStringList CharacterStatistics(QStringView text);
