#pragma once

#include <cstdio>
#include <cstdlib>

// A property every input must keep; a breach stops the fuzzer, which saves the input.
#define FUZZ_CHECK(condition)                                                                                          \
    do {                                                                                                               \
        if (!(condition)) {                                                                                            \
            std::fprintf(stderr, "broken: %s (%s:%d)\n", #condition, __FILE__, __LINE__);                              \
            std::abort();                                                                                              \
        }                                                                                                              \
    } while (false)
