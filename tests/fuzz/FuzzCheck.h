#pragma once

#include <cstdio>
#include <cstdlib>

// A broken property stops the fuzzer on the input that broke it.
#define FUZZ_CHECK(condition, what)                                                                    \
    do {                                                                                               \
        if (!(condition)) {                                                                            \
            std::fprintf(stderr, "fuzz: %s (%s:%d)\n", what, __FILE__, __LINE__);                      \
            std::abort();                                                                              \
        }                                                                                              \
    } while (false)
