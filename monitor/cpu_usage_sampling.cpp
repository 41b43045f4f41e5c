#include "monitor/cpu_usage_sampling.h"

#include <string>

#include "monitor/performance_data.h"

namespace {

// The counter's reading from the performance data, asked for its object alone: the object's
// title index in decimal as the value name gives a block of the same layout, in which the system
// has assembled that object instead of all of them.
std::optional<PerfCounterSample> ReadPerfCounter(CpuUsageSampler& sampler,
                                                 const CpuCounterSelection& selection,
                                                 const CpuUsagePlatform& platform) {
  std::string valueName = std::to_string(selection.objectIndex);
  QueryPerformanceData(sampler.perfData, [&](uint8_t* data, uint32_t* size) {
    return platform.queryPerformanceData(valueName.c_str(), data, size);
  });
  PerfDataView block{sampler.perfData.data(), sampler.perfData.size()};
  CounterReading reading =
      FindObjectCounterValue(block, selection.objectIndex, selection.counterIndex,
                             selection.instanceName, *platform.codePage);
  if (!reading.found) return std::nullopt;
  return PerfCounterSample{reading.raw, ReadPerfTime100nSec(block)};
}

}  // namespace

int32_t TakeCpuUsageSample(CpuUsageSampler& sampler, const CpuUsagePlatform& platform) {
  if (!sampler.counter) sampler.counter = SelectCpuCounter(ClassifyOs(platform.readOsVersion()));
  const CpuCounterSelection& selection = *sampler.counter;
  if (!selection.supported) return -1;

  if (sampler.samplesUntilPerfData > 0) {
    --sampler.samplesUntilPerfData;
  } else if (std::optional<PerfCounterSample> sample =
                 ReadPerfCounter(sampler, selection, platform)) {
    return TakePerfCounterSample(sampler.history, *sample);
  } else {
    sampler.samplesUntilPerfData = PERF_DATA_RECHECK_SAMPLES;
  }
  // Without its counter the idle arithmetic would report 100 % on every call (Wine publishes an
  // empty block), so the figure comes from the system's time totals instead.
  SystemTimesSample times;
  if (platform.readSystemTimes(&times)) return TakeSystemTimesSample(sampler.history, times);
  return ForgetCpuSamples(sampler.history);
}
