#pragma once
// The clock the meter's busy pauses (spin_wait.h) run on: QueryPerformanceCounter on Windows, the
// steady clock elsewhere. Ticks of ReadSpinClockFrequency() a second.
#include <cstdint>

int64_t ReadSpinClockFrequency();
int64_t ReadSpinClock();
