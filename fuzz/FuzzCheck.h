#pragma once
// A property check that stops the run with a readable report, so that libFuzzer saves
// the input that broke it.
#include <cstdio>
#include <cstdlib>

#define FUZZ_CHECK(condition)                                                           \
    do {                                                                                \
        if (!(condition)) {                                                             \
            std::fprintf(stderr, "%s:%d: property failed: %s\n", __FILE__, __LINE__, #condition); \
            std::abort();                                                               \
        }                                                                               \
    } while (false)
