#include "common/RandomSource.h"

double RandomSource::next()
{
    // 53 random bits scaled into [0, 1): never 1.
    return static_cast<double>(m_engine() >> 11) * 0x1.0p-53;
}
