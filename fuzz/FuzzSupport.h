#pragma once

#include <cstdio>
#include <cstdlib>

// A broken promise found by a fuzz target: says which, then stops the run so libFuzzer keeps the input.
#define FUZZ_CHECK(condition, what)                                                                                    \
    do {                                                                                                               \
        if (!(condition)) {                                                                                            \
            std::fprintf(stderr, "fuzz check failed: %s (%s:%d)\n", what, __FILE__, __LINE__);                         \
            std::abort();                                                                                              \
        }                                                                                                              \
    } while (0)
