#pragma once
// Process-wide state of the monitoring subsystem: everything it keeps for the whole run. Win32
// files only.
#include <windows.h>

#include <atomic>

#include "monitor/cpu_usage_sampling.h"

struct Monitoring {
  // Held by the worker for the length of each pass. A mutex rather than an event: the UI thread
  // can wait for it with a timeout, and while the UI thread holds it a resumed worker cannot
  // start a pass. Made with the worker and closed once it has left; null outside that time.
  HANDLE passLock = nullptr;
  // Set once the run has ended: a worker resumed by a tick just before the end must not run a
  // pass to the released meter, nor re-arm the stopped timer. Set and read under the lock.
  std::atomic<bool> cycleEnded{false};
  // Set while the PC sleeps, in the same way: a worker resumed by a tick just before the suspend
  // runs no pass until the wake.
  std::atomic<bool> cyclePaused{false};
  // The CPU sampler's memory between passes; only the refresh worker touches it.
  CpuUsageSampler cpuSampler;
};

extern Monitoring monitoring;
