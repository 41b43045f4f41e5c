#include <windows.h>

#include "meter/spin_clock.h"

int64_t ReadSpinClockFrequency() {
  LARGE_INTEGER frequency{};
  QueryPerformanceFrequency(&frequency);
  return frequency.QuadPart;
}

int64_t ReadSpinClock() {
  LARGE_INTEGER counter{};
  QueryPerformanceCounter(&counter);
  return counter.QuadPart;
}
