#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>

// The progressive character sets of TEXT1's list: three learning orders cut into pieces of five, each item all the
// pieces of its order up to the current one; 25 items, the first order first.
QStringList ProgressiveSets();

// Whether `set` is one of those items, exactly.
bool IsProgressiveSet(QStringView set);

// The item that follows `set` in its learning order: nothing for the last item of an order or a set that is not an
// item.
std::optional<QString> NextProgressiveSet(QStringView set);
