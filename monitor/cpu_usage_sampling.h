#pragma once
// One CPU usage sample, from the performance data when it holds the CPU counter, else from the
// system's time totals. The system calls come in through CpuUsagePlatform, so the whole decision
// runs the same against Windows and against a test's fake.
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "monitor/ansi_code_page.h"
#include "monitor/cpu_counter_selection.h"
#include "monitor/cpu_usage_history.h"
#include "monitor/performance_data_query.h"

struct CpuUsagePlatform {
  std::function<OsVersion()> readOsVersion;
  PerfDataQuery queryPerformanceData;
  std::function<bool(SystemTimesSample*)> readSystemTimes;  // false when the system has none
  const AnsiCodePage* codePage = &AsciiCodePage();
};

struct CpuUsageSampler {
  std::optional<CpuCounterSelection> counter;  // chosen on the first call: one version query a run
  std::vector<uint8_t> perfData;
  CpuUsageHistory history;
};

// The usage in percent since the previous sample: -1 on a system without performance data (no
// query is made there), 0 on the first sample and whenever the source changes.
int32_t TakeCpuUsageSample(CpuUsageSampler& sampler, const CpuUsagePlatform& platform);
