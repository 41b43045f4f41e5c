#pragma once
// The sampler's memory between calls: the previous sample and which source it came from. The
// performance counter is the first source; the system's time totals stand in when the counter is
// missing. Two samples from different sources are never compared.
#include <cstdint>

enum class CpuSampleSource { NONE, PERFORMANCE_DATA, SYSTEM_TIMES };

struct PerfCounterSample {
  int64_t raw = 0;          // accumulated idle time
  int64_t time100nSec = 0;  // the block's PerfTime100nSec
};

// Totals since boot in 100 ns units; kernel time includes idle time.
struct SystemTimesSample {
  uint64_t idle = 0;
  uint64_t kernel = 0;
  uint64_t user = 0;
};

struct CpuUsageHistory {
  CpuSampleSource source = CpuSampleSource::NONE;
  PerfCounterSample perf;
  SystemTimesSample times;
};

// Each stores the sample and returns the usage since the previous one, or 0 when there is no
// previous sample from the same source.
int32_t TakePerfCounterSample(CpuUsageHistory& history, const PerfCounterSample& sample);
int32_t TakeSystemTimesSample(CpuUsageHistory& history, const SystemTimesSample& sample);

// For a call with no sample from either source: 0, and the next sample starts afresh.
int32_t ForgetCpuSamples(CpuUsageHistory& history);
