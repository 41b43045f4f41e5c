#include <chrono>

#include "meter/spin_clock.h"

int64_t ReadSpinClockFrequency() {
  return 1000000000;
}

int64_t ReadSpinClock() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}
