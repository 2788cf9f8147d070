#pragma once
// A property check that stays on in every build type: a broken property must
// stop the fuzzer with the input that broke it, whatever NDEBUG says.
#include <cstdio>
#include <cstdlib>

#define FUZZ_CHECK(condition)                                                                     \
    do {                                                                                          \
        if (!(condition)) {                                                                       \
            std::fprintf(stderr, "%s:%d: property broken: %s\n", __FILE__, __LINE__, #condition); \
            std::abort();                                                                         \
        }                                                                                         \
    } while (false)

// For the checks' own helpers: no coverage counters or comparison hooks, since
// the fuzzer should steer by the code under test, not by its checks.
#define FUZZ_UNCOVERED __attribute__((no_sanitize("coverage")))
