#include "monitor/cpu_usage_sampling.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <deque>
#include <string>
#include <vector>

#include "support/perf_block_builder.h"

namespace {

constexpr int64_t SAMPLE_PERIOD = 8000000;  // 800 ms in 100 ns units
constexpr int32_t QUERY_OK = 0;

// A scripted system: a version, a queue of blocks (the last one repeats) and system times.
struct FakeCpuSystem {
  OsVersion version{true, PLATFORM_WIN32_NT, 6};
  std::deque<PerfBlock> blocks;
  std::deque<SystemTimesSample> times;  // empty: the system has none
  int versionReads = 0;
  int queries = 0;
  int timesReads = 0;
  bool bufferWasZeroed = true;
  std::vector<std::string> valueNames;  // asked for, each once

  int32_t Query(const char* valueName, uint8_t* data, uint32_t* size) {
    ++queries;
    if (std::find(valueNames.begin(), valueNames.end(), valueName) == valueNames.end())
      valueNames.push_back(valueName);
    if (std::any_of(data, data + *size, [](uint8_t b) { return b != 0; })) bufferWasZeroed = false;
    std::vector<uint8_t> bytes = blocks.front().bytes;
    if (blocks.size() > 1) blocks.pop_front();
    if (bytes.size() > *size) return QUERY_MORE_DATA;
    std::memcpy(data, bytes.data(), bytes.size());
    *size = static_cast<uint32_t>(bytes.size());
    return QUERY_OK;
  }

  CpuUsagePlatform Platform() {
    CpuUsagePlatform platform;
    platform.readOsVersion = [this] {
      ++versionReads;
      return version;
    };
    platform.queryPerformanceData = [this](const char* valueName, uint8_t* data, uint32_t* size) {
      return Query(valueName, data, size);
    };
    platform.readSystemTimes = [this](SystemTimesSample* sample) {
      ++timesReads;
      if (times.empty()) return false;
      *sample = times.front();
      times.pop_front();
      return true;
    };
    return platform;
  }
};

PerfBlock ProcessorBlock(int64_t totalIdle, int64_t time) {
  return PerfBlockBuilder()
      .PerfTime100nSec(time)
      .AddObject({238, {6}, {}, {{u"0", {0}}, {u"_Total", {totalIdle}}}})
      .Build();
}

PerfBlock SystemBlock(int64_t idle, int64_t time) {
  return PerfBlockBuilder().PerfTime100nSec(time).AddObject({2, {240}, {idle}, {}}).Build();
}

PerfBlock EmptyBlock(int64_t time) {
  return PerfBlockBuilder().PerfTime100nSec(time).Build();
}

TEST(CpuUsageSampling, OsClassFromTheVersion) {
  struct Case {
    OsVersion version;
    OsClass osClass;
  } cases[] = {
      {{true, PLATFORM_WIN32_NT, 4}, OS_NT4},
      {{true, PLATFORM_WIN32_NT, 5}, OS_NT},
      {{true, PLATFORM_WIN32_NT, 6}, OS_NT},
      {{true, PLATFORM_WIN32_NT, 3}, OS_NT},
      {{true, PLATFORM_WIN32_WINDOWS, 4}, OS_WIN9X},
      {{true, 0, 3}, OS_OTHER},
      {{true, 3, 4}, OS_OTHER},
      {{false, PLATFORM_WIN32_NT, 6}, OS_OTHER},
  };
  for (const Case& c : cases)
    EXPECT_EQ(ClassifyOs(c.version), c.osClass)
        << c.version.known << " " << c.version.platformId << " " << c.version.majorVersion;
}

TEST(CpuUsageSampling, UnsupportedSystemsAnswerMinusOneWithoutAQuery) {
  for (uint32_t platformId : {PLATFORM_WIN32_WINDOWS, 0u}) {
    FakeCpuSystem system;
    system.version = {true, platformId, 4};
    system.blocks.push_back(ProcessorBlock(0, 0));
    CpuUsageSampler sampler;
    CpuUsagePlatform platform = system.Platform();
    for (int call = 0; call < 3; ++call) EXPECT_EQ(TakeCpuUsageSample(sampler, platform), -1);
    EXPECT_EQ(system.versionReads, 1);
    EXPECT_EQ(system.queries, 0);
    EXPECT_EQ(system.timesReads, 0);
    EXPECT_TRUE(sampler.perfData.empty());
  }
}

TEST(CpuUsageSampling, ProcessorTotalGivesTheFigure) {
  FakeCpuSystem system;
  system.blocks = {ProcessorBlock(5000, 1000),
                   ProcessorBlock(5000 + SAMPLE_PERIOD / 4, 1000 + SAMPLE_PERIOD),
                   ProcessorBlock(5000 + SAMPLE_PERIOD / 4, 1000 + 2 * SAMPLE_PERIOD)};
  system.times = {{1, 2, 3}};
  CpuUsageSampler sampler;
  CpuUsagePlatform platform = system.Platform();
  EXPECT_EQ(TakeCpuUsageSample(sampler, platform), 0);
  EXPECT_EQ(sampler.perfData.size(), PERF_DATA_INITIAL_BYTES);
  EXPECT_EQ(TakeCpuUsageSample(sampler, platform), 75);
  EXPECT_EQ(TakeCpuUsageSample(sampler, platform), 100);
  EXPECT_EQ(system.versionReads, 1);
  EXPECT_EQ(system.timesReads, 0);
  EXPECT_TRUE(system.bufferWasZeroed);
  EXPECT_EQ(system.valueNames, std::vector<std::string>{"238"}) << "the Processor object alone";
}

TEST(CpuUsageSampling, Nt4ReadsTheSystemObject) {
  FakeCpuSystem system;
  system.version = {true, PLATFORM_WIN32_NT, 4};
  system.blocks = {SystemBlock(0, 0), SystemBlock(SAMPLE_PERIOD / 2, SAMPLE_PERIOD)};
  CpuUsageSampler sampler;
  CpuUsagePlatform platform = system.Platform();
  EXPECT_EQ(TakeCpuUsageSample(sampler, platform), 0);
  EXPECT_EQ(TakeCpuUsageSample(sampler, platform), 50);
  EXPECT_EQ(system.valueNames, std::vector<std::string>{"2"}) << "the System object alone";
}

// Wine publishes a block with no objects: the idle arithmetic would say 100 on every call.
TEST(CpuUsageSampling, WithoutTheCounterTheSystemTimesGiveTheFigure) {
  PerfBlock blocks[] = {
      EmptyBlock(SAMPLE_PERIOD),
      PerfBlockBuilder().AddObject({238, {6}, {}, {{u"0", {5}}}}).Build(),  // no "_Total"
      PerfBlockBuilder().AddObject({238, {142}, {}, {{u"_Total", {5}}}}).Build(),
  };
  for (const PerfBlock& block : blocks) {
    FakeCpuSystem system;
    system.blocks = {block};
    system.times = {{100, 200, 100}, {125, 250, 150}, {175, 300, 200}};
    CpuUsageSampler sampler;
    CpuUsagePlatform platform = system.Platform();
    EXPECT_EQ(TakeCpuUsageSample(sampler, platform), 0);
    EXPECT_EQ(TakeCpuUsageSample(sampler, platform), 75);
    EXPECT_EQ(TakeCpuUsageSample(sampler, platform), 50);
  }
}

// Times advancing 75 % busy per sample, for as many samples as given.
std::deque<SystemTimesSample> BusyTimes(int samples) {
  std::deque<SystemTimesSample> times;
  for (uint64_t n = 0; n < static_cast<uint64_t>(samples); ++n)
    times.push_back({n * 25, n * 50, n * 50});
  return times;
}

// Without the counter the performance data is looked at again only every
// PERF_DATA_RECHECK_SAMPLES samples; the source switches both ways, each switch starting afresh.
TEST(CpuUsageSampling, TheSourceSwitchesBothWaysAndAMissingCounterIsLookedForNowAndThen) {
  FakeCpuSystem system;
  system.blocks = {ProcessorBlock(0, 0), ProcessorBlock(SAMPLE_PERIOD / 4, SAMPLE_PERIOD),
                   EmptyBlock(0), ProcessorBlock(SAMPLE_PERIOD, 3 * SAMPLE_PERIOD),
                   ProcessorBlock(SAMPLE_PERIOD + SAMPLE_PERIOD / 2, 4 * SAMPLE_PERIOD)};
  system.times = BusyTimes(PERF_DATA_RECHECK_SAMPLES + 1);
  CpuUsageSampler sampler;
  CpuUsagePlatform platform = system.Platform();
  std::vector<int32_t> figures;
  for (int call = 0; call < PERF_DATA_RECHECK_SAMPLES + 5; ++call)
    figures.push_back(TakeCpuUsageSample(sampler, platform));

  std::vector<int32_t> expected = {0, 75, 0};  // the counter, then the time totals afresh
  expected.insert(expected.end(), PERF_DATA_RECHECK_SAMPLES, 75);
  expected.insert(expected.end(), {0, 50});  // the next look finds the counter: afresh again
  EXPECT_EQ(figures, expected);
  EXPECT_EQ(system.queries, 5) << "two with the counter, one without, the next look, one more";
  EXPECT_EQ(system.timesReads, PERF_DATA_RECHECK_SAMPLES + 1);
}

TEST(CpuUsageSampling, OnlyEveryFewMinutesDoesAnEmptyBlockCostAQuery) {
  FakeCpuSystem system;
  system.blocks = {EmptyBlock(SAMPLE_PERIOD)};
  system.times = BusyTimes(3 * PERF_DATA_RECHECK_SAMPLES + 3);
  CpuUsageSampler sampler;
  CpuUsagePlatform platform = system.Platform();
  for (int call = 0; call < 3 * PERF_DATA_RECHECK_SAMPLES + 3; ++call) {
    int32_t figure = TakeCpuUsageSample(sampler, platform);
    EXPECT_EQ(figure, call == 0 ? 0 : 75) << "call " << call << ": no restart at a look";
  }
  EXPECT_EQ(system.queries, 3);
}

TEST(CpuUsageSampling, NeitherSourceGivesZeroAndForgetsThePreviousSample) {
  FakeCpuSystem system;
  system.blocks = {EmptyBlock(0)};
  CpuUsageSampler sampler;
  CpuUsagePlatform platform = system.Platform();
  EXPECT_EQ(TakeCpuUsageSample(sampler, platform), 0);
  EXPECT_EQ(TakeCpuUsageSample(sampler, platform), 0);
  system.times = {{0, 10, 10}, {5, 20, 20}};
  EXPECT_EQ(TakeCpuUsageSample(sampler, platform), 0);
  EXPECT_EQ(TakeCpuUsageSample(sampler, platform), 75);
}

TEST(PerformanceDataQuery, GrowsWhileTheSystemAsksForMore) {
  std::vector<uint32_t> sizesOffered;
  std::vector<uint8_t> firstBytesSeen;
  const uint32_t need = 150000;
  PerfDataQuery query = [&](uint8_t* data, uint32_t* size) {
    sizesOffered.push_back(*size);
    firstBytesSeen.push_back(data[0]);
    data[0] = 0xAB;  // what a failed query leaves behind
    if (*size < need) {
      *size = need;
      return QUERY_MORE_DATA;
    }
    *size = need;
    return QUERY_OK;
  };
  std::vector<uint8_t> buffer;
  QueryPerformanceData(buffer, query);
  EXPECT_EQ(sizesOffered, (std::vector<uint32_t>{PERF_DATA_INITIAL_BYTES, need + 1024}));
  // Zeroed once per call, before the first query; a resize keeps what the failed query left.
  EXPECT_EQ(firstBytesSeen, (std::vector<uint8_t>{0, 0xAB}));
  EXPECT_EQ(buffer.size(), need + 1024);

  sizesOffered.clear();
  firstBytesSeen.clear();
  QueryPerformanceData(buffer, query);
  EXPECT_EQ(sizesOffered, (std::vector<uint32_t>{need + 1024}));
  EXPECT_EQ(firstBytesSeen, (std::vector<uint8_t>{0}));
}

TEST(PerformanceDataQuery, GrowthWithoutAUsableSizeDoublesAndStops) {
  EXPECT_EQ(NextPerfDataSize(102400, 200000), 201024u);
  EXPECT_EQ(NextPerfDataSize(102400, 102400), 204800u);  // the size came back unchanged
  EXPECT_EQ(NextPerfDataSize(102400, 0), 204800u);
  EXPECT_EQ(NextPerfDataSize(102400, PERF_DATA_MAX_BYTES), 0u);
  EXPECT_EQ(NextPerfDataSize(102400, 0xFFFFFFFF), 0u);
  EXPECT_EQ(NextPerfDataSize(PERF_DATA_MAX_BYTES / 2 + 1, 0), 0u);

  // A system that never stops asking: the loop ends once the buffer would pass the limit.
  int queries = 0;
  std::vector<uint8_t> buffer;
  QueryPerformanceData(buffer, [&](uint8_t*, uint32_t*) {
    ++queries;
    return QUERY_MORE_DATA;
  });
  EXPECT_LE(buffer.size(), PERF_DATA_MAX_BYTES);
  EXPECT_GT(buffer.size(), PERF_DATA_MAX_BYTES / 2);
  EXPECT_LE(queries, 12);
}

}  // namespace
