#pragma once

// What every fuzz target uses to report a broken invariant: a message naming it, then abort.

#include <cstdio>
#include <cstdlib>

#define FUZZ_CHECK(condition)                                               \
  do {                                                                      \
    if (!(condition)) {                                                     \
      std::fprintf(stderr, "broken: %s (line %d)\n", #condition, __LINE__); \
      std::abort();                                                         \
    }                                                                       \
  } while (0)
