#pragma once

#include <QString>

#include <cstdio>
#include <cstdlib>

// A broken expectation inside a fuzz target: print it and abort, so that
// libFuzzer keeps the input that caused it.
#define FUZZ_CHECK(condition)                                                                  \
    do {                                                                                       \
        if (!(condition)) {                                                                    \
            std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition); \
            std::abort();                                                                      \
        }                                                                                      \
    } while (false)
