#pragma once

// Invariant checks of the fuzz targets. A broken invariant prints what was
// expected and aborts, which libFuzzer reports as a crash (and saves the
// input) and which fails the corpus replay test.

#include <cstdio>
#include <cstdlib>

#define FUZZ_CHECK(cond, what)                                                    \
    do {                                                                          \
        if (!(cond)) {                                                            \
            std::fprintf(stderr, "%s:%d: invariant broken: %s\n  (%s)\n",         \
                         __FILE__, __LINE__, what, #cond);                        \
            std::abort();                                                         \
        }                                                                         \
    } while (0)
