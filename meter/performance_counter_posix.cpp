#include <chrono>

#include "meter/performance_counter.h"

int64_t ReadPerformanceFrequency() {
  return 1000000000;
}

int64_t ReadPerformanceCounter() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}
