#include "ptt/PortNumber.h"

#include "common/Numbers.h"

std::optional<int> PortNumberFromText(QStringView text)
{
    const double value = LeadingNumber(text);
    if (!(value > 0.0 && value < 10.0))
        return std::nullopt;
    const double rounded = RoundHalfEven(value);
    // 0.4 and 9.6 pass the range test but round to a port that does not exist.
    if (rounded < 1.0 || rounded > 9.0)
        return std::nullopt;
    return static_cast<int>(rounded);
}
