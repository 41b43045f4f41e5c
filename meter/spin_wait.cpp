#include "meter/spin_wait.h"

#include "meter/spin_clock.h"

int64_t SpinTarget(int64_t start, int64_t frequency, int64_t microseconds) {
  // A negative count or frequency waits not at all; the product stays in range for any real
  // counter frequency and the counts the system passes.
  if (frequency <= 0 || microseconds <= 0) return start;
  return start + (frequency * microseconds) / 1000000;
}

void WaitMicroseconds(int64_t microseconds) {
  int64_t frequency = ReadSpinClockFrequency();
  int64_t start = ReadSpinClock();
  int64_t target = SpinTarget(start, frequency, microseconds);
  if (start >= target) return;
  while (ReadSpinClock() < target) {
  }
}
