#include "sound/DurationFormat.h"

#include "common/Numbers.h"

namespace {

qint64 floorDiv(qint64 a, qint64 b)
{
    qint64 q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0)))
        --q;
    return q;
}

} // namespace

QString FormatDuration(qint64 ms)
{
    const qint64 seconds = floorDiv(ms, 1000);
    const qint64 rest = ms - 1000 * seconds;
    const qint64 minutes = floorDiv(seconds, 60);
    const qint64 sec = seconds - 60 * minutes;
    return QString::number(minutes) + u"' " + ZeroPadded(sec, 2) + u"\" " + ZeroPadded(rest, 3) + u"'''";
}
