#include "marking/HistoryCharts.h"

#include "marking/History.h"

#include <algorithm>

namespace {

// Copies that all fall within this many days are told apart by their order.
constexpr int ShortPeriodDays = 3;

void widen(CopyColumn& column, qreal place, double accuracy, double wpm)
{
    if (column.count == 0) {
        column = {place, place, accuracy, accuracy, wpm, wpm, 0};
    } else {
        column.first = std::min(column.first, place);
        column.last = std::max(column.last, place);
        column.lowAccuracy = std::min(column.lowAccuracy, accuracy);
        column.highAccuracy = std::max(column.highAccuracy, accuracy);
        column.lowWpm = std::min(column.lowWpm, wpm);
        column.highWpm = std::max(column.highWpm, wpm);
    }
    ++column.count;
}

void merge(CopyColumn& into, const CopyColumn& column)
{
    if (into.count == 0) {
        into = column;
        return;
    }
    const qint64 count = into.count + column.count;
    widen(into, column.first, column.lowAccuracy, column.lowWpm);
    widen(into, column.last, column.highAccuracy, column.highWpm);
    into.count = count;
}

// The copies of each day a column, days falling in the same column of the chart merged.
QList<CopyColumn> byDay(const QList<CopyRecord>& copies, int columns)
{
    QList<CopyColumn> days;
    qint64 day = 0;
    for (const CopyRecord& copy : copies) {
        const qint64 its = copy.at.toLocalTime().date().toJulianDay();
        if (days.isEmpty() || its != day)
            days.append(CopyColumn());
        day = its;
        widen(days.last(), qreal(copy.at.toMSecsSinceEpoch()), AccuracyTenths(copy.characters, copy.errors) / 10.0,
              copy.wpm);
    }
    const auto firstMs = qint64(days.first().first), span = qint64(days.last().last) - firstMs + 1;
    QList<CopyColumn> merged;
    qint64 current = -1;
    for (const CopyColumn& c : days) {
        const qint64 column = (qint64(c.first) - firstMs) * columns / span;
        if (column != current)
            merged.append(CopyColumn());
        current = column;
        merge(merged.last(), c);
    }
    return merged;
}

} // namespace

bool ReadByDay(const CopyChart& chart, int columns)
{
    return chart.count > columns && !CountedInOrder(chart.first, chart.last) &&
           2 * (chart.first.toLocalTime().date().daysTo(chart.last.toLocalTime().date()) + 1) >= columns;
}

bool CountedInOrder(const QDateTime& first, const QDateTime& last)
{
    return first.toLocalTime().date().daysTo(last.toLocalTime().date()) < ShortPeriodDays;
}

CopyChart ChartOfCopies(const QList<CopyRecord>& copies, int columns)
{
    CopyChart chart;
    if (copies.isEmpty())
        return chart;
    chart.count = copies.size();
    chart.first = copies.first().at;
    chart.last = copies.last().at;
    if (ReadByDay(chart, columns)) {
        chart.columns = byDay(copies, columns);
        return chart;
    }
    const bool numbered = CountedInOrder(chart.first, chart.last);
    const qint64 firstMs = chart.first.toMSecsSinceEpoch(), lastMs = chart.last.toMSecsSinceEpoch();
    const bool thinned = chart.count > columns;
    for (qsizetype i = 0; i < copies.size(); ++i) {
        const CopyRecord& copy = copies[i];
        const qint64 ms = copy.at.toMSecsSinceEpoch();
        qint64 column = i;
        if (thinned)
            column = numbered ? qint64(i) * columns / chart.count : (ms - firstMs) * columns / (lastMs - firstMs + 1);
        if (chart.columns.size() <= column)
            chart.columns.resize(column + 1);
        widen(chart.columns[column], numbered ? qreal(i + 1) : qreal(ms),
              AccuracyTenths(copy.characters, copy.errors) / 10.0, copy.wpm);
    }
    chart.columns.removeIf([](const CopyColumn& c) { return c.count == 0; });
    return chart;
}

QList<QPointF> ColumnPoints(const QList<CopyColumn>& columns, bool accuracy)
{
    QList<QPointF> points;
    points.reserve(columns.size() * 2);
    for (const CopyColumn& c : columns) {
        points.append(QPointF(c.first, accuracy ? c.lowAccuracy : c.lowWpm));
        if (c.count > 1)
            points.append(QPointF(c.last, accuracy ? c.highAccuracy : c.highWpm));
    }
    return points;
}

QList<QPointF> ThinnedPoints(const QList<QPointF>& points, int columns)
{
    if (points.size() <= columns)
        return points;
    const auto first = qint64(points.first().x()), span = qint64(points.last().x()) - first + 1;
    QList<CopyColumn> thinned;
    qint64 current = -1;
    for (const QPointF& point : points) {
        const qint64 column = (qint64(point.x()) - first) * columns / span;
        if (column != current)
            thinned.append(CopyColumn());
        current = column;
        widen(thinned.last(), point.x(), point.y(), 0);
    }
    return ColumnPoints(thinned, true);
}
