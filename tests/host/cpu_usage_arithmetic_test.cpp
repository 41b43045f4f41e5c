#include "monitor/cpu_usage_arithmetic.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>

#include "monitor/cpu_usage_history.h"

namespace {

constexpr int64_t PERIOD = 8000000;  // 800 ms in 100 ns units
constexpr int64_t INT64_LOWEST = std::numeric_limits<int64_t>::min();
constexpr int64_t INT64_HIGHEST = std::numeric_limits<int64_t>::max();

// The figure of a second perf sample; the first one always gives 0.
int32_t SecondPerfFigure(int64_t raw0, int64_t raw1, int64_t time0, int64_t time1) {
  CpuUsageHistory history;
  EXPECT_EQ(TakePerfCounterSample(history, {raw0, time0}), 0);
  return TakePerfCounterSample(history, {raw1, time1});
}

TEST(CpuUsageArithmetic, IdleCounterFigures) {
  struct Case {
    const char* name;
    int64_t raw0, raw1, time0, time1;
    int32_t figure;
  } cases[] = {
      {"a quarter idle", 1000, 1000 + PERIOD / 4, 50, 50 + PERIOD, 75},
      {"fully idle", 1000, 1000 + PERIOD, 50, 50 + PERIOD, 0},
      {"never idle", 1000, 1000, 50, 50 + PERIOD, 100},
      {"half a percent busy rounds up", 0, PERIOD - PERIOD / 200, 0, PERIOD, 1},
      {"more idle than elapsed", 0, PERIOD * 2, 0, PERIOD, 0},
      {"counter runs backwards", PERIOD, PERIOD / 2, 0, PERIOD, 150},
      {"no time passed, counter still", 7, 7, 99, 99, 0},
      {"no time passed, counter moved", 7, 9, 99, 99, 0},
      {"no time passed, counter went back", 9, 7, 99, 99, 0},
      {"counter wraps past the top", INT64_HIGHEST, INT64_LOWEST, 0, 4, 75},
      {"figure beyond 64 bits", 0, INT64_LOWEST, 0, 1, 0},
      {"figure wider than 32 bits keeps its low word", 0, -(int64_t{1} << 32), 0, 1, 100},
      {"low word above INT32_MAX reads negative", 0, -21474836, 0, 1, 0},
      {"low word just within", 0, -21474835, 0, 1, 2147483600},
  };
  for (const Case& c : cases)
    EXPECT_EQ(SecondPerfFigure(c.raw0, c.raw1, c.time0, c.time1), c.figure) << c.name;
}

TEST(CpuUsageArithmetic, TruncationSpellsOutTheIndefiniteValue) {
  const double infinity = std::numeric_limits<double>::infinity();
  EXPECT_EQ(TruncateToInt64(std::nan("")), INTEGER_INDEFINITE);
  EXPECT_EQ(TruncateToInt64(infinity), INTEGER_INDEFINITE);
  EXPECT_EQ(TruncateToInt64(-infinity), INTEGER_INDEFINITE);
  EXPECT_EQ(TruncateToInt64(9223372036854775808.0), INTEGER_INDEFINITE);
  EXPECT_EQ(TruncateToInt64(-9223372036854775808.0), INT64_LOWEST);
  EXPECT_EQ(TruncateToInt64(-75.9), -75);
  EXPECT_EQ(LowInt32(INTEGER_INDEFINITE), 0);
  EXPECT_EQ(LowInt32(0x1FFFFFFFF), -1);
  EXPECT_EQ(LowInt32(0x180000000), std::numeric_limits<int32_t>::min());
  EXPECT_EQ(LowInt32(0x17FFFFFFF), std::numeric_limits<int32_t>::max());
}

TEST(CpuUsageArithmetic, SystemTimesFigures) {
  struct Case {
    int64_t idle, kernel, user;
    int32_t figure;
  } cases[] = {
      {25, 50, 50, 75},  // kernel time counts its idle part too
      {100, 100, 0, 0}, {0, 60, 40, 100}, {0, 0, 0, 0},
      {5, 0, 0, 0},     {200, 100, 0, 0},  // more idle than the total reads as idle
  };
  for (const Case& c : cases)
    EXPECT_EQ(UsageFromSystemTimes(c.idle, c.kernel, c.user), c.figure)
        << c.idle << " " << c.kernel << " " << c.user;
}

TEST(CpuUsageHistory, EachSourceStartsAfreshAndNeverMixesWithTheOther) {
  CpuUsageHistory history;
  EXPECT_EQ(TakeSystemTimesSample(history, {100, 200, 100}), 0);  // first sample
  EXPECT_EQ(TakeSystemTimesSample(history, {125, 250, 150}), 75);
  EXPECT_EQ(TakePerfCounterSample(history, {1000, 0}), 0);  // source changed
  EXPECT_EQ(TakePerfCounterSample(history, {1000 + PERIOD / 2, PERIOD}), 50);
  EXPECT_EQ(TakeSystemTimesSample(history, {150, 300, 200}), 0);    // changed back
  EXPECT_EQ(TakeSystemTimesSample(history, {150, 350, 250}), 100);  // not against {125, ...}
  EXPECT_EQ(ForgetCpuSamples(history), 0);
  EXPECT_EQ(TakeSystemTimesSample(history, {175, 400, 300}), 0);
}

}  // namespace
