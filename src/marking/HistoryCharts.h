#pragma once

#include <QDateTime>
#include <QList>
#include <QPointF>

struct CopyRecord;

// The copies of a period that fall in one column of a chart: where the first and the last of them stand along the
// axis, and the lowest and highest accuracy (percent) and speed (words per minute) among them.
struct CopyColumn
{
    qreal first = 0;
    qreal last = 0;
    double lowAccuracy = 0;
    double highAccuracy = 0;
    double lowWpm = 0;
    double highWpm = 0;
    qint64 count = 0;

    bool operator==(const CopyColumn&) const = default;
};

// The copies of a period as their charts draw them: how many, the first and last times, and one column per copy, or
// when there are more copies than `columns` (what a chart's width can show), at most that many columns: their numbers
// or times scaled to the columns, or over a period of many days (ReadByDay), the copies of each day together, days
// in the same column merged. A copy stands at its number from 1 when the period's copies are told apart by their
// order (CountedInOrder), at its time in ms otherwise.
struct CopyChart
{
    qint64 count = 0;
    QDateTime first;
    QDateTime last;
    QList<CopyColumn> columns;

    bool operator==(const CopyChart&) const = default;
};

// Results that all fall within a few days are told apart by their order: on a time axis they would stand on one line.
bool CountedInOrder(const QDateTime& first, const QDateTime& last);

// Whether the columns of `chart`, whose count and times are known, gather the copies of each day: when a day is
// two columns wide or less, it is all the chart can show of them.
bool ReadByDay(const CopyChart& chart, int columns);

// The chart of `copies` (oldest first) in at most `columns` columns.
CopyChart ChartOfCopies(const QList<CopyRecord>& copies, int columns);

// The points a line draws of values thinned into columns: the column's lowest at its first place, and its highest
// at its last place when it holds more than one result.
QList<QPointF> ColumnPoints(const QList<CopyColumn>& columns, bool accuracy);

// The points of a line (in the order of their places, each a whole number) thinned as the copies are into columns:
// all of them when they are no more than `columns`.
QList<QPointF> ThinnedPoints(const QList<QPointF>& points, int columns);
