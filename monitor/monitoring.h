#pragma once
// Process-wide state of the monitoring subsystem: everything it keeps for the whole run. Win32
// files only.
#include <windows.h>

#include "monitor/cpu_usage_sampling.h"

struct Monitoring {
  // Held by the worker for the length of each pass. A mutex rather than an event: the UI thread
  // can wait for it with a timeout, and while the UI thread holds it a resumed worker cannot
  // start a pass.
  HANDLE passLock = CreateMutexA(nullptr, FALSE, nullptr);
  // The CPU sampler's memory between passes; only the refresh worker touches it.
  CpuUsageSampler cpuSampler;
};

extern Monitoring monitoring;
