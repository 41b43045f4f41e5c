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

// Samples taken from the system's time totals before performance data found without the counter
// is looked at again: three minutes at one sample per 800 ms pass. A look costs the system the
// whole block (20-30 ms under Wine, which never has the counter).
constexpr int32_t PERF_DATA_RECHECK_SAMPLES = 225;

struct CpuUsagePlatform {
  std::function<OsVersion()> readOsVersion;
  // Queries the performance data under `valueName`: as PerfDataQuery, for the objects it names.
  std::function<int32_t(const char* valueName, uint8_t* data, uint32_t* size)> queryPerformanceData;
  std::function<bool(SystemTimesSample*)> readSystemTimes;  // false when the system has none
  const AnsiCodePage* codePage = &AsciiCodePage();
};

struct CpuUsageSampler {
  std::optional<CpuCounterSelection> counter;  // chosen on the first call: one version query a run
  std::vector<uint8_t> perfData;
  CpuUsageHistory history;
  int32_t samplesUntilPerfData = 0;  // 0: the performance data is looked at on this sample
};

// The usage in percent since the previous sample: -1 on a system without performance data (no
// query is made there), 0 on the first sample and whenever the source changes. The performance
// data is asked for the counter's object alone, on every sample while it holds the counter; once
// it does not, again only after PERF_DATA_RECHECK_SAMPLES samples.
int32_t TakeCpuUsageSample(CpuUsageSampler& sampler, const CpuUsagePlatform& platform);
