#include "monitor/cpu_usage_history.h"

#include "monitor/cpu_usage_arithmetic.h"

namespace {

int64_t Advance(uint64_t later, uint64_t earlier) {
  return WrappingDifference(static_cast<int64_t>(later), static_cast<int64_t>(earlier));
}

}  // namespace

int32_t TakePerfCounterSample(CpuUsageHistory& history, const PerfCounterSample& sample) {
  bool continues = history.source == CpuSampleSource::PERFORMANCE_DATA;
  PerfCounterSample previous = history.perf;
  history.source = CpuSampleSource::PERFORMANCE_DATA;
  history.perf = sample;
  if (!continues) return 0;
  int64_t idleAdvance = WrappingDifference(sample.raw, previous.raw);
  double elapsed =
      static_cast<double>(sample.time100nSec) - static_cast<double>(previous.time100nSec);
  return UsageFromIdleCounter(idleAdvance, elapsed);
}

int32_t TakeSystemTimesSample(CpuUsageHistory& history, const SystemTimesSample& sample) {
  bool continues = history.source == CpuSampleSource::SYSTEM_TIMES;
  SystemTimesSample previous = history.times;
  history.source = CpuSampleSource::SYSTEM_TIMES;
  history.times = sample;
  if (!continues) return 0;
  return UsageFromSystemTimes(Advance(sample.idle, previous.idle),
                              Advance(sample.kernel, previous.kernel),
                              Advance(sample.user, previous.user));
}

int32_t ForgetCpuSamples(CpuUsageHistory& history) {
  history.source = CpuSampleSource::NONE;
  return 0;
}
