// The one device switch against the virtual meter, with a refresh pass held open by another
// thread as the RefreshWorker holds it during a pass.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "app/application.h"
#include "app/device_choice.h"
#include "meter/bridge_loader.h"
#include "meter/meter_link.h"
#include "monitor/refresh_worker.h"
#include "windows/support/condition_wait.h"
#include "windows/support/test_window.h"
#include "windows/support/virtual_meter_scenario.h"

namespace {

constexpr DWORD PASS_MS = 600;

// Holds the refresh pass lock on a thread of its own for `holdMs`, like a pass in progress.
class PassInProgress {
 public:
  explicit PassInProgress(DWORD holdMs)
      : thread([this, holdMs] {
          RefreshPassHold hold;
          held = hold.Acquired();
          Sleep(holdMs);
        }) {
    WaitUntil([this] { return held.load(); });
  }
  ~PassInProgress() { thread.join(); }
  PassInProgress(const PassInProgress&) = delete;
  PassInProgress& operator=(const PassInProgress&) = delete;

  bool Held() const { return held; }

 private:
  std::atomic<bool> held{false};
  std::thread thread;
};

class DeviceSwitch : public ::testing::Test {
 protected:
  void SetUp() override {
    application.mainWindow = CreateTestWindow("TrayDeviceSwitchTest", DefWindowProcA);
    ASSERT_NE(application.mainWindow, nullptr);
    scenario.bridges[0].present = true;
    scenario.bridges[1].present = true;
    ASSERT_TRUE(scenario.Apply());
    ASSERT_TRUE(LoadBridgeLibrary("CH341DLL.DLL"));
    // Never resumed: the window leaves its ticks to DefWindowProcA. It brings the pass lock.
    worker = CreateRefreshWorker(application.mainWindow);
    ASSERT_NE(worker, nullptr);
  }

  void TearDown() override {
    EndRefreshCycle(application.mainWindow);
    EndRefreshWorker(worker);
    CloseHandle(worker);
    UnlinkDevice();
    meterLink.deviceIndex = NO_DEVICE;
    DestroyWindow(application.mainWindow);
    application.mainWindow = nullptr;
  }

  // Whether the RefreshTimer runs: killing it succeeds only then.
  static bool RefreshTimerRuns() {
    return KillTimer(application.mainWindow, REFRESH_TIMER_ID) != FALSE;
  }

  bool WasCalled(const char* call, int64_t index) const {
    return scenario.Log().WaitForRecord(CallOf(call, index)).has_value();
  }

  VirtualMeterScenario scenario;
  HANDLE worker = nullptr;
};

TEST_F(DeviceSwitch, WaitsForThePassInProgressBeforeReleasingTheMeter) {
  LinkDevice(0);
  StartRefreshTimer(application.mainWindow);
  ULONGLONG start = 0;
  ULONGLONG took = 0;
  {
    PassInProgress pass(PASS_MS);
    ASSERT_TRUE(pass.Held());
    start = GetTickCount64();
    EXPECT_TRUE(SwitchLinkedDevice(1));
    took = GetTickCount64() - start;
  }
  EXPECT_GE(took, PASS_MS - 100) << "returned before the pass ended";
  EXPECT_EQ(meterLink.deviceIndex.load(), 1);
  EXPECT_TRUE(WasCalled("CH341CloseDevice", 0));
  EXPECT_TRUE(WasCalled("CH341SetExclusive", 1));
  EXPECT_TRUE(RefreshTimerRuns());
}

// With none linked, too: the pass's last nibbles would reach the new meter in the middle of a
// frame.
TEST_F(DeviceSwitch, WithNoMeterLinkedWaitsAllTheSame) {
  ULONGLONG took = 0;
  {
    PassInProgress pass(PASS_MS);
    ASSERT_TRUE(pass.Held());
    ULONGLONG start = GetTickCount64();
    EXPECT_TRUE(SwitchLinkedDevice(1));
    took = GetTickCount64() - start;
  }
  EXPECT_GE(took, PASS_MS - 100) << "returned before the pass ended";
  EXPECT_EQ(meterLink.deviceIndex.load(), 1);
  EXPECT_TRUE(WasCalled("CH341SetExclusive", 1));
}

}  // namespace
