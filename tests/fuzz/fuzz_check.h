#pragma once
// A broken invariant in a harness: named on stderr, then a trap, so libFuzzer saves the input
// that broke it as a finding just as it does for a crash or a sanitizer report.
#include <cstdio>

#define FUZZ_CHECK(condition)                                                                \
  do {                                                                                       \
    if (!(condition)) {                                                                      \
      std::fprintf(stderr, "%s:%d: invariant broken: %s\n", __FILE__, __LINE__, #condition); \
      __builtin_trap();                                                                      \
    }                                                                                        \
  } while (0)
