#pragma once

#include <QString>

// A duration in ms as minutes, seconds and milliseconds with floor division: 125300 gives 2' 05" 300''' and
// -574 gives -1' 59" 426'''.
QString FormatDuration(qint64 ms);
