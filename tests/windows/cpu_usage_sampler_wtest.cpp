#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <vector>

#include "monitor/cpu_usage_sampler.h"
#include "support/busy_threads.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr DWORD REFRESH_PERIOD_MS = 800;

struct TimeTotals {
  uint64_t idle = 0, kernel = 0, user = 0;
};

uint64_t FileTimeValue(const FILETIME& time) {
  return (uint64_t{time.dwHighDateTime} << 32) | time.dwLowDateTime;
}

TimeTotals ReadTimeTotals() {
  FILETIME idle{}, kernel{}, user{};
  EXPECT_TRUE(GetSystemTimes(&idle, &kernel, &user));
  return {FileTimeValue(idle), FileTimeValue(kernel), FileTimeValue(user)};
}

// The busy share by the system's own totals, as a yardstick; kernel time includes idle time.
int32_t BusyPercent(const TimeTotals& before, const TimeTotals& after) {
  double total = double(after.kernel - before.kernel) + double(after.user - before.user);
  if (total <= 0) return 0;
  return static_cast<int32_t>(100.0 * (1.0 - double(after.idle - before.idle) / total));
}

struct Period {
  int32_t figure = 100;     // what the sampler said
  int32_t yardstick = 100;  // what the system's totals say for the same period
};

// One sample a refresh period after the previous one, as the refresh pass takes them.
Period SampleOnePeriod() {
  TimeTotals before = ReadTimeTotals();
  Sleep(REFRESH_PERIOD_MS);
  Period period;
  period.figure = SampleCpuUsage();
  period.yardstick = BusyPercent(before, ReadTimeTotals());
  EXPECT_GE(period.figure, 0);
  EXPECT_LE(period.figure, 100);
  return period;
}

// Declared first: it needs the process's first call.
TEST(CpuUsage, FirstCallIsZeroAndLaterCallsArePercentages) {
  EXPECT_EQ(SampleCpuUsage(), 0);
  for (int i = 0; i < 3; ++i) SampleOnePeriod();
}

// Other programs may be running: the test waits for a quiet period, as the system's own totals
// tell it, and compares the sampler with those totals over that same period.
TEST(CpuUsage, RisesUnderLoadAndIsNot100WhenIdle) {
  SampleCpuUsage();  // starts the first period
  Period quiet;
  for (Clock::time_point end = Clock::now() + std::chrono::seconds(20);
       quiet.yardstick > 65 && Clock::now() < end;) {
    Period period = SampleOnePeriod();
    if (period.yardstick < quiet.yardstick) quiet = period;
  }
  if (quiet.yardstick > 65) {
    GTEST_SKIP() << "other programs kept the processors " << quiet.yardstick << " % busy";
  }
  // A sampler that reads an empty performance block as "never idle" says 100 on every call.
  EXPECT_LT(quiet.figure, 100);
  EXPECT_NEAR(quiet.figure, quiet.yardstick, 20);

  int32_t loaded = 0;
  {
    BusyThreads busy;
    SampleCpuUsage();  // the load starts with this period
    for (Clock::time_point end = Clock::now() + std::chrono::seconds(5);
         loaded < 90 && Clock::now() < end;) {
      loaded = std::max(loaded, SampleOnePeriod().figure);
    }
  }
  std::printf("CPU usage: idle %d %% (system totals %d %%), loaded %d %%\n", quiet.figure,
              quiet.yardstick, loaded);
  EXPECT_GT(loaded, 60);
  EXPECT_GT(loaded, quiet.figure + 30);
}

}  // namespace
