#pragma once

#include "common/Result.h"

#include <QString>
#include <QStringView>

// The pass mark: the errors admitted, as a percentage of the sent characters, in hundredths of a percent.
struct PassMark
{
    int hundredths = 500; // 5 %

    bool operator==(const PassMark&) const = default;
};

// A pass mark as typed: a number from 0 to 100 with "," or "." and at most two decimals ("5", "2,5").
Result<PassMark> ParsePassMark(QStringView text);
// "5", "2,5": the pass mark with a decimal comma, without trailing zeros.
QString FormatPassMark(PassMark pass);
