// Torvex's meter link against the virtual meter, loaded through the real loader: what the link
// sends must arrive decoded in the meter's log, and what the meter sends back must reach the
// receive parser.
#include <windows.h>
// windows.h first: dbt.h relies on its types.
#include <dbt.h>
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "meter/bridge_library.h"
#include "meter/bridge_loader.h"
#include "meter/meter_frame.h"
#include "meter/meter_link.h"
#include "windows/support/condition_wait.h"
#include "windows/support/meter_log.h"
#include "windows/support/test_window.h"
#include "windows/support/virtual_meter_scenario.h"

namespace {

bool TemperatureBecomes(int32_t temperature) {
  return WaitUntil([&] { return meterLink.temperatureReading.load() == temperature; });
}

class MeterWire : public ::testing::Test {
 protected:
  void SetUp() override { meterLink.deviceIndex = NO_DEVICE; }

  void TearDown() override {
    UnlinkDevice();
    meterLink.deviceIndex = NO_DEVICE;
  }

  // Points the virtual meter at the scenario and installs it as the bridge library.
  void Load(VirtualMeterScenario& scenario) {
    ASSERT_TRUE(scenario.Apply()) << scenario.Folder();
    ASSERT_TRUE(LoadBridgeLibrary("CH341DLL.DLL"));
  }
};

TEST_F(MeterWire, ExportsCarryThePlainNames) {
  VirtualMeterScenario scenario;
  Load(scenario);
  HMODULE library = GetModuleHandleA("CH341DLL.DLL");
  ASSERT_NE(library, nullptr);
  for (const char* name : BRIDGE_FUNCTION_NAMES) {
    EXPECT_NE(GetProcAddress(library, name), nullptr) << name;
  }
  EXPECT_EQ(GetProcAddress(library, "CH341OpenDevice@4"), nullptr);
}

TEST_F(MeterWire, LibraryCallsAnswerAsTheScenarioSays) {
  VirtualMeterScenario scenario;
  scenario.bridges[2].present = true;
  scenario.bridges[5] = {true, 0x0300, true, 35};
  scenario.bridges[7] = {true, 0x0200, false, 35};
  Load(scenario);
  EXPECT_FALSE(IsInvalidBridgeHandle(Bridge().openDevice(2)));
  EXPECT_TRUE(IsInvalidBridgeHandle(Bridge().openDevice(7)));
  EXPECT_TRUE(IsInvalidBridgeHandle(Bridge().openDevice(9)));
  uint32_t status = 0xFFFF;
  EXPECT_NE(Bridge().getStatus(5, &status), 0);
  EXPECT_EQ(status, 0x0300u);
  status = 0xFFFF;
  EXPECT_EQ(Bridge().getStatus(9, &status), 0);
  EXPECT_EQ(status, 0xFFFFu);
  Bridge().closeDevice(2);

  MeterLogRecords calls =
      scenario.Log().WaitForCount([](const MeterLogRecord& r) { return !r.call.empty(); }, 6);
  ASSERT_EQ(calls.size(), 6u);
  EXPECT_TRUE(calls[0].IsCall("CH341OpenDevice"));
  EXPECT_EQ(calls[0].index, 2);
  EXPECT_EQ(calls[1].result, -1);
  EXPECT_EQ(calls[3].status, 0x0300);
  EXPECT_TRUE(calls[5].IsCall("CH341CloseDevice"));
}

TEST_F(MeterWire, FramesSentThroughTheLinkArriveDecoded) {
  VirtualMeterScenario scenario;
  scenario.bridges[3].present = true;
  Load(scenario);
  LinkDevice(3);
  SendMeterFrame(BuildValueFrame(73));
  SendMeterFrame(BuildFanThresholdsFrame(10, 80, 2));
  SendMeterFrame(BuildBacklightFrame(1));
  SendMeterFrame(BuildFanFrame(300));
  UnlinkDevice();

  const MeterLog& log = scenario.Log();
  ASSERT_TRUE(
      log.WaitForRecord([](const MeterLogRecord& r) { return r.IsCall("CH341CloseDevice"); }));
  MeterLogRecords records = log.Read();
  MeterLogRecords frames = Select(records, AnyFrame);
  ASSERT_EQ(frames.size(), 4u);
  for (const MeterLogRecord& frame : frames) EXPECT_EQ(frame.index, 3);
  EXPECT_EQ(frames[0].cmd, 3);
  EXPECT_EQ(frames[0].value, 73);
  EXPECT_EQ(frames[0].frame, "FE349" + std::string(30, '0') + "3");
  EXPECT_EQ(frames[1].cmd, 10);
  EXPECT_EQ(frames[1].low, 10);
  EXPECT_EQ(frames[1].high, 80);
  EXPECT_EQ(frames[1].fanMode, 2);
  EXPECT_EQ(frames[2].cmd, 8);
  EXPECT_EQ(frames[2].backlight, 1);
  EXPECT_EQ(frames[3].cmd, 9);
  EXPECT_EQ(frames[3].fan, 300 & 0xFF);
  EXPECT_TRUE(Select(records, [](const MeterLogRecord& r) { return r.IsError(); }).empty());

  // The link's calls, in the order the meter saw them.
  MeterLogRecords calls =
      Select(records, [](const MeterLogRecord& r) { return !r.call.empty() && r.index == 3; });
  ASSERT_EQ(calls.size(), 5u);
  EXPECT_TRUE(calls[0].IsCall("CH341OpenDevice"));
  EXPECT_NE(calls[0].result, -1);
  EXPECT_TRUE(calls[1].IsCall("CH341SetIntRoutine"));
  EXPECT_EQ(calls[1].result, 1);
  EXPECT_TRUE(calls[2].IsCall("CH341SetExclusive"));
  EXPECT_EQ(calls[2].exclusive, 1);
  EXPECT_TRUE(calls[3].IsCall("CH341SetExclusive"));
  EXPECT_EQ(calls[3].exclusive, 0);
  EXPECT_TRUE(calls[4].IsCall("CH341CloseDevice"));
}

TEST_F(MeterWire, TemperatureReadingFollowsTheScenario) {
  VirtualMeterScenario scenario;
  scenario.packetMs = 20;
  scenario.bridges[0].present = true;
  scenario.bridges[0].temperature = 42;
  Load(scenario);
  LinkDevice(0);
  EXPECT_TRUE(TemperatureBecomes(42)) << meterLink.temperatureReading.load();

  scenario.bridges[0].temperature = 77;
  ASSERT_TRUE(scenario.Apply());
  EXPECT_TRUE(TemperatureBecomes(77)) << meterLink.temperatureReading.load();
}

TEST_F(MeterWire, InjectedNibblesReachTheParserBeforeThePackets) {
  VirtualMeterScenario scenario;
  // Long enough between packets to see the injected temperature before the first packet.
  scenario.packetMs = 500;
  scenario.inject = "FE002D23";
  scenario.bridges[1].present = true;
  scenario.bridges[1].temperature = 35;
  Load(scenario);
  meterLink.temperatureReading = 0;
  LinkDevice(1);
  EXPECT_TRUE(TemperatureBecomes(45)) << meterLink.temperatureReading.load();
  EXPECT_TRUE(TemperatureBecomes(35)) << meterLink.temperatureReading.load();

  MeterLogRecords sent = Select(scenario.Log().Read(), [](const MeterLogRecord& r) {
    return !r.inject.empty() || r.IsPacket();
  });
  ASSERT_GE(sent.size(), 2u);
  EXPECT_EQ(sent[0].inject, "FE002D23");
  EXPECT_EQ(sent[1].packet, "002323");
}

// The device-change notices that reached a hidden top-level window of this process.
std::atomic<int> deviceChangeNotices{0};

LRESULT CALLBACK CountDeviceChanges(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DEVICECHANGE && wParam == DBT_DEVNODES_CHANGED) ++deviceChangeNotices;
  return DefWindowProcA(window, message, wParam, lParam);
}

TEST_F(MeterWire, UnplugAnnouncesItselfAndFailsTheStatusRead) {
  HWND window = CreateTestWindow("VirtualMeterDeviceChangeWindow", CountDeviceChanges);
  ASSERT_NE(window, nullptr);
  VirtualMeterScenario scenario;
  scenario.packetMs = 20;
  scenario.bridges[0].present = true;
  Load(scenario);
  LinkDevice(0);
  auto statusReads = [] {
    uint32_t status = 0;
    return Bridge().getStatus(0, &status) != 0;
  };
  const MeterLog& log = scenario.Log();
  ASSERT_TRUE(log.WaitForRecord([](const MeterLogRecord& r) { return r.IsPacket(); }));
  EXPECT_TRUE(statusReads());
  int noticesBefore = deviceChangeNotices;

  scenario.bridges[0].present = false;
  ASSERT_TRUE(scenario.Apply());
  EXPECT_TRUE(WaitUntil([&] { return deviceChangeNotices > noticesBefore; }));
  EXPECT_FALSE(statusReads());
  SendMeterFrame(BuildValueFrame(5));
  ASSERT_TRUE(log.WaitForRecord([](const MeterLogRecord& r) {
    return r.error == "write to an absent bridge is lost" && r.index == 0;
  }));

  MeterLogRecords records = log.Read();
  size_t unplugged = 0;
  while (unplugged < records.size() &&
         !(records[unplugged].index == 0 && records[unplugged].present == 0)) {
    ++unplugged;
  }
  ASSERT_LT(unplugged, records.size());
  for (size_t i = unplugged; i < records.size(); ++i) {
    EXPECT_FALSE(records[i].IsPacket()) << "packet after the unplug at " << records[i].tMs;
    EXPECT_FALSE(records[i].IsFrame()) << "frame taken after the unplug at " << records[i].tMs;
  }

  noticesBefore = deviceChangeNotices;
  scenario.bridges[0].present = true;
  ASSERT_TRUE(scenario.Apply());
  EXPECT_TRUE(WaitUntil([&] { return deviceChangeNotices > noticesBefore; }));
  EXPECT_FALSE(statusReads()) << "back, but re-enumerated: the old handle died with the unplug";
  DestroyWindow(window);
}

TEST_F(MeterWire, FramesStayWholeWhileOtherCallsAndPacketsRun) {
  VirtualMeterScenario scenario;
  scenario.packetMs = 10;
  scenario.bridges[0].present = true;
  scenario.bridges[1].present = true;
  Load(scenario);
  LinkDevice(0);
  constexpr int FRAMES = 12;
  std::atomic<bool> sending{true};
  // The refresh worker's part: frames, while this thread plays the UI thread's.
  std::thread worker([&] {
    for (int i = 0; i < FRAMES; ++i) SendMeterFrame(BuildValueFrame(i));
    sending = false;
  });
  uint32_t status = 0;
  while (sending) {
    Bridge().getStatus(1, &status);
    Bridge().openDevice(1);
    Bridge().closeDevice(1);
  }
  worker.join();

  MeterLogRecords frames = scenario.Log().WaitForCount(
      [](const MeterLogRecord& r) { return FrameOf(0)(r) && r.cmd == CMD_VALUE; }, FRAMES);
  ASSERT_EQ(frames.size(), static_cast<size_t>(FRAMES));
  for (int i = 0; i < FRAMES; ++i) EXPECT_EQ(frames[i].value, i);
  MeterLogRecords records = scenario.Log().Read();
  EXPECT_TRUE(Select(records, [](const MeterLogRecord& r) { return r.IsError(); }).empty());
  EXPECT_FALSE(Select(records, [](const MeterLogRecord& r) { return r.IsPacket(); }).empty());
}

TEST_F(MeterWire, WithoutAScenarioFileNoBridgeIsFound) {
  VirtualMeterScenario scenario;
  scenario.bridges[0].present = true;
  Load(scenario);
  ASSERT_FALSE(IsInvalidBridgeHandle(Bridge().openDevice(0)));
  Bridge().closeDevice(0);

  std::string missing = scenario.Folder() + "\\missing.ini";
  SetEnvironmentVariableA("TORVEX_VMETER", missing.c_str());
  EXPECT_TRUE(WaitUntil([] {
    for (uint32_t index = 0; index < BRIDGE_INDEX_COUNT; ++index) {
      if (!IsInvalidBridgeHandle(Bridge().openDevice(index))) return false;
    }
    return true;
  }));
}

}  // namespace
