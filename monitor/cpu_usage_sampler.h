#pragma once
// The CPU usage figure for the refresh pass, Windows only.
#include <cstdint>

// The CPU usage in percent since the previous call: -1 on a system without performance data
// (Windows 9x and unknown platforms), 0 on the first call. Not thread-safe: called only from the
// RefreshWorker.
int32_t SampleCpuUsage();
