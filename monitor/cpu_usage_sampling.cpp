#include "monitor/cpu_usage_sampling.h"

#include "monitor/performance_data.h"

int32_t TakeCpuUsageSample(CpuUsageSampler& sampler, const CpuUsagePlatform& platform) {
  if (!sampler.counter) sampler.counter = SelectCpuCounter(ClassifyOs(platform.readOsVersion()));
  const CpuCounterSelection& selection = *sampler.counter;
  if (!selection.supported) return -1;

  QueryPerformanceData(sampler.perfData, platform.queryPerformanceData);
  PerfDataView block{sampler.perfData.data(), sampler.perfData.size()};
  CounterReading reading =
      FindObjectCounterValue(block, selection.objectIndex, selection.counterIndex,
                             selection.instanceName, *platform.codePage);
  if (reading.found) {
    return TakePerfCounterSample(sampler.history, {reading.raw, ReadPerfTime100nSec(block)});
  }
  // Without its counter the idle arithmetic would report 100 % on every call (Wine publishes an
  // empty block), so the figure comes from the system's time totals instead.
  SystemTimesSample times;
  if (platform.readSystemTimes(&times)) return TakeSystemTimesSample(sampler.history, times);
  return ForgetCpuSamples(sampler.history);
}
