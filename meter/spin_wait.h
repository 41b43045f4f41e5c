#pragma once
// Busy pauses on the spin clock (spin_clock.h): the meter needs 100 us between nibbles, far below
// what a sleep can give.
#include <cstdint>

// The counter value at which a wait of `microseconds` that started at `start` ends, with the
// counter running at `frequency` ticks a second.
int64_t SpinTarget(int64_t start, int64_t frequency, int64_t microseconds);

// Spins until the counter has advanced by `microseconds`. Returns at once when the counter reports
// a frequency of 0.
void WaitMicroseconds(int64_t microseconds);
