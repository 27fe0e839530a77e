#include "training/LearningOrders.h"

namespace {

constexpr qsizetype PieceLength = 5;

const QStringList& Orders()
{
    static const QStringList orders{QStringLiteral("egmz0ahtr1nujf2idpc3wbyq4xovl5sk786=+?/9"),
                                    QStringLiteral("eish5ptmo08'awj1qndb69kx=/,gz7?cylrf2v3?"),
                                    QStringLiteral("0123456789abcdefghijklmnopqrstuvwxyz.,?/+'<*")};
    return orders;
}

} // namespace

QStringList ProgressiveSets()
{
    QStringList items;
    for (const QString& order : Orders()) {
        for (qsizetype end = PieceLength; end - PieceLength < order.size(); end += PieceLength)
            items << order.left(end);
    }
    return items;
}

bool IsProgressiveSet(QStringView set)
{
    return ProgressiveSets().contains(set);
}

std::optional<QString> NextProgressiveSet(QStringView set)
{
    // Each order is the last item of its run; an item is followed by the next longer start of the same order.
    for (const QString& order : Orders()) {
        if (set.size() < order.size() && set.size() % PieceLength == 0 && !set.isEmpty() && order.startsWith(set))
            return order.left(set.size() + PieceLength);
    }
    return std::nullopt;
}
