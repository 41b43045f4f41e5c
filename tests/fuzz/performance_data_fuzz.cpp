// The performance-data walk over any block, and the CPU sampler over two blocks in a row from a
// fake system. Input: one byte for the system's version, a little-endian 16-bit length of the
// first block, the first block, then the second block (the rest).
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "fuzz/fuzz_check.h"
#include "monitor/cpu_counter_selection.h"
#include "monitor/cpu_usage_sampling.h"
#include "monitor/performance_data.h"

namespace {

constexpr int32_t QUERY_OK = 0;
constexpr size_t PERF_TIME_AT = 72;

uint64_t LittleEndian64(const uint8_t* bytes) {
  uint64_t value = 0;
  for (int i = 7; i >= 0; --i) value = (value << 8) | bytes[i];
  return value;
}

// A counter that was found was read from eight bytes of the block.
bool BlockHolds(PerfDataView block, int64_t value) {
  for (size_t at = 0; at + 8 <= block.size; ++at) {
    if (LittleEndian64(block.bytes + at) == static_cast<uint64_t>(value)) return true;
  }
  return false;
}

void CheckWalk(PerfDataView block) {
  for (OsClass osClass : {OS_NT, OS_NT4}) {
    CpuCounterSelection selection = SelectCpuCounter(osClass);
    CounterReading reading =
        FindObjectCounterValue(block, selection.objectIndex, selection.counterIndex,
                               selection.instanceName, AsciiCodePage());
    if (reading.found) {
      FUZZ_CHECK(reading.raw != NOT_FOUND_VALUE);
      FUZZ_CHECK(BlockHolds(block, reading.raw));
    } else {
      FUZZ_CHECK(reading.raw == 0 || reading.raw == NOT_FOUND_VALUE);
    }
  }
  int64_t time = ReadPerfTime100nSec(block);
  if (block.size < PERF_TIME_AT + 8) {
    FUZZ_CHECK(time == 0);
  } else {
    FUZZ_CHECK(static_cast<uint64_t>(time) == LittleEndian64(block.bytes + PERF_TIME_AT));
  }
}

// Answers the version from `versionByte`, the two blocks in turn, and steadily advancing system
// times unless the version byte's top bit says the system has none.
struct FakeSystem {
  uint8_t versionByte = 0;
  std::vector<uint8_t> blocks[2];
  int queries = 0;
  uint64_t timesRead = 0;

  int32_t Query(uint8_t* data, uint32_t* size) {
    const std::vector<uint8_t>& block = blocks[std::min(queries, 1)];
    ++queries;
    if (block.size() > *size) {
      *size = static_cast<uint32_t>(block.size());
      return QUERY_MORE_DATA;
    }
    if (!block.empty()) std::memcpy(data, block.data(), block.size());
    *size = static_cast<uint32_t>(block.size());
    return QUERY_OK;
  }

  CpuUsagePlatform Platform() {
    CpuUsagePlatform platform;
    platform.readOsVersion = [this] {
      return OsVersion{(versionByte & 1) != 0, (versionByte >> 1) & 3u, (versionByte >> 3) & 7u};
    };
    platform.queryPerformanceData = [this](const char*, uint8_t* data, uint32_t* size) {
      return Query(data, size);
    };
    platform.readSystemTimes = [this](SystemTimesSample* sample) {
      if (versionByte & 0x80) return false;
      ++timesRead;
      *sample = SystemTimesSample{timesRead * 300, timesRead * 700, timesRead * 250};
      return true;
    };
    return platform;
  }
};

void CheckSampler(FakeSystem& system) {
  CpuUsagePlatform platform = system.Platform();
  bool supported = SelectCpuCounter(ClassifyOs(platform.readOsVersion())).supported;
  CpuUsageSampler sampler;
  for (int sample = 0; sample < 2; ++sample) {
    int32_t usage = TakeCpuUsageSample(sampler, platform);
    FUZZ_CHECK(supported ? usage >= 0 : usage == -1);
    if (sample == 0 && supported) FUZZ_CHECK(usage == 0);  // nothing to compare with yet
  }
  if (!supported) FUZZ_CHECK(system.queries == 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 3) return 0;
  FakeSystem system;
  system.versionByte = data[0];
  size_t firstLength = std::min<size_t>(data[1] | data[2] << 8, size - 3);
  const uint8_t* first = data + 3;
  const uint8_t* second = first + firstLength;
  system.blocks[0].assign(first, second);
  system.blocks[1].assign(second, data + size);
  for (const std::vector<uint8_t>& block : system.blocks) {
    CheckWalk(PerfDataView{block.data(), block.size()});
  }
  CheckSampler(system);
  return 0;
}
