#include "inputs/InputTime.h"

#include <chrono>

KeyTime InputTimeNow()
{
    using namespace std::chrono;
    return duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
}
