// The RefreshWorker driven by a window of the test's own, against the virtual meter: one pass
// per RefreshTimer tick, four frames a pass, the records and the meter's temperature followed.
#include <windows.h>

#include <gtest/gtest.h>

#include "meter/bridge_loader.h"
#include "meter/meter_link.h"
#include "monitor/monitoring.h"
#include "monitor/refresh_rules.h"
#include "monitor/refresh_worker.h"
#include "settings/settings_records.h"
#include "settings/stored_values.h"
#include "windows/support/condition_wait.h"
#include "windows/support/meter_log.h"
#include "windows/support/test_window.h"
#include "windows/support/virtual_meter_scenario.h"

namespace {

HANDLE worker = nullptr;

LRESULT CALLBACK TestWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_TIMER) ResumeRefreshWorker(worker);
  return DefWindowProcA(window, message, wParam, lParam);
}

const auto IsFrame = FrameOf(0);

size_t CountFrames(const MeterLog& log) {
  return Select(log.Read(), IsFrame).size();
}

class RefreshWorkerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    window = CreateTestWindow("RefreshWorkerTest", TestWindowProc);
    ASSERT_NE(window, nullptr);

    scenario.bridges[0].present = true;
    scenario.bridges[0].temperature = 41;
    ASSERT_TRUE(scenario.Apply());
    ASSERT_TRUE(LoadBridgeLibrary("CH341DLL.DLL"));
    settings.displayItem = DefaultDisplayItemRecord();  // what a first run shows
    settings.systemControl = DefaultSystemControlRecord();
    LinkDevice(0);
    worker = CreateRefreshWorker(window);
    ASSERT_NE(worker, nullptr);
    StartRefreshTimer(window);
  }

  void TearDown() override {
    EndRefreshCycle(window);
    UnlinkDevice();
    meterLink.deviceIndex = NO_DEVICE;
    EndRefreshWorker(worker);
    EXPECT_EQ(WaitForSingleObject(worker, 0), WAIT_OBJECT_0) << "the worker has left";
    EXPECT_EQ(monitoring.passLock, nullptr) << "and its lock is closed";
    CloseHandle(worker);
    worker = nullptr;
    DestroyWindow(window);
  }

  MeterLogRecords WaitForFrames(size_t count, int timeoutMs = 6000) {
    MeterLogRecords frames;
    WaitUntil(
        [&] {
          frames = Select(scenario.Log().Read(), IsFrame);
          return frames.size() >= count;
        },
        timeoutMs);
    return frames;
  }

  HWND window = nullptr;
  VirtualMeterScenario scenario;
};

TEST_F(RefreshWorkerTest, EachTickRunsOnePassOfFourFramesAboutAPeriodApart) {
  MeterLogRecords frames = WaitForFrames(12);
  ASSERT_GE(frames.size(), 12u);
  const int64_t order[4] = {3, 10, 8, 9};
  for (size_t i = 0; i < 12; ++i) EXPECT_EQ(*frames[i].cmd, order[i % 4]) << i;
  EXPECT_EQ(*frames[0].value, 41) << "the temperature, as a first run shows it";
  EXPECT_EQ(*frames[1].low, 10);
  EXPECT_EQ(*frames[1].high, 80);
  EXPECT_EQ(*frames[2].backlight, 1);
  EXPECT_EQ(*frames[3].fan, 100);
  for (size_t pass = 1; pass < 3; ++pass) {
    int64_t period = frames[pass * 4].tMs - frames[(pass - 1) * 4].tMs;
    EXPECT_GE(period, 800) << "the 800 ms countdown starts after a pass";
    EXPECT_LE(period, 1500);
  }
}

TEST_F(RefreshWorkerTest, PassesFollowTheMetersTemperatureAndTheRecords) {
  ASSERT_GE(WaitForFrames(4).size(), 4u);
  scenario.bridges[0].temperature = 57;
  ASSERT_TRUE(scenario.Apply());
  EXPECT_TRUE(scenario.Log().WaitFor(
      [](const MeterLogRecords& records) {
        for (const MeterLogRecord& r : records)
          if (IsFrame(r) && r.cmd == CMD_VALUE && r.value == 57) return true;
        return false;
      },
      4000));

  settings.systemControl.fanMode = FAN_AUTO;  // as a dialog edits it, live
  settings.systemControl.lowThreshold = 20;
  MeterLogRecords frames;
  auto thresholdsEdited = [](const MeterLogRecord& r) {
    return IsFrame(r) && r.cmd == CMD_FAN_THRESHOLDS && r.low == 20 && r.fanMode == FAN_AUTO;
  };
  ASSERT_TRUE(WaitUntil(
      [&] {
        frames = Select(scenario.Log().Read(), IsFrame);
        for (size_t i = 0; i + 2 < frames.size(); ++i)
          if (thresholdsEdited(frames[i])) return true;
        return false;
      },
      4000));
  for (size_t i = 0; i + 2 < frames.size(); ++i) {
    if (!thresholdsEdited(frames[i])) continue;
    EXPECT_EQ(*frames[i + 2].cmd, CMD_FAN);
    EXPECT_EQ(*frames[i + 2].fan, 1) << "automatic mode lets the meter decide";
    break;
  }
}

TEST_F(RefreshWorkerTest, HoldingThePassLockKeepsANewPassFromStarting) {
  ASSERT_GE(WaitForFrames(4).size(), 4u);
  size_t before = 0;
  {
    RefreshPassHold hold(5000);
    ASSERT_TRUE(hold.Acquired());
    before = CountFrames(scenario.Log());
    // Ticks keep coming and resuming the worker, which waits for the lock.
    WaitUntil([] { return false; }, 2000);
    EXPECT_EQ(CountFrames(scenario.Log()), before);
  }
  EXPECT_GE(WaitForFrames(before + 4, 3000).size(), before + 4) << "the waiting pass runs";
}

TEST_F(RefreshWorkerTest, TheWorkerKeepsSuspendingItselfWhenItsHandleIsClosed) {
  // The main window closes its handle at shutdown; the worker must not rely on it.
  HANDLE copy = nullptr;
  ASSERT_TRUE(DuplicateHandle(GetCurrentProcess(), worker, GetCurrentProcess(), &copy, 0, FALSE,
                              DUPLICATE_SAME_ACCESS));
  CloseHandle(worker);
  worker = copy;
  MeterLogRecords frames = WaitForFrames(12);
  ASSERT_GE(frames.size(), 12u);
  EXPECT_GE(frames[8].tMs - frames[4].tMs, 800) << "passes do not run back to back";
}

// A tick resumed the worker just before the run ended, and the end took the lock first: the pass
// the worker then gets to must not run to the released meter, nor re-arm the stopped timer.
TEST_F(RefreshWorkerTest, NoPassRunsAfterTheCycleHasEnded) {
  ASSERT_GE(WaitForFrames(4).size(), 4u);
  {
    RefreshPassHold tick(5000);
    ASSERT_TRUE(tick.Acquired());
    // Once it has suspended itself, the resume wakes it into a wait for the lock.
    ASSERT_TRUE(WaitUntil([] {
      DWORD count = SuspendThread(worker);
      ResumeThread(worker);
      return count != static_cast<DWORD>(-1) && count > 0;
    }));
    ResumeRefreshWorker(worker);
    EndRefreshCycle(window);
    UnlinkDevice();
  }
  // Gone once it has had the lock: whatever it did with it is in the log by then.
  ASSERT_EQ(WaitForSingleObject(worker, 5000), WAIT_OBJECT_0);
  MeterLogRecords records = scenario.Log().Read();
  bool released = false;
  for (const MeterLogRecord& record : records) {
    released = released || record.IsCall("CH341CloseDevice");
    EXPECT_FALSE(released && (record.IsFrame() || record.IsError())) << record.tMs;
  }
  EXPECT_TRUE(released);
  EXPECT_FALSE(KillTimer(window, REFRESH_TIMER_ID)) << "the timer stays stopped";
}

}  // namespace
