#pragma once
// The high-resolution counter: QueryPerformanceCounter on Windows, the steady clock elsewhere.
#include <cstdint>

int64_t ReadPerformanceFrequency();
int64_t ReadPerformanceCounter();
