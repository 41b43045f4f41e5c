// End to end: the real torvex.exe with the virtual meter, driven from outside as a user would.
#include <windows.h>

#include <gtest/gtest.h>

#include "app/commands.h"
#include "res/resource.h"
#include "settings/settings_records.h"
#include "windows/support/torvex_test.h"

namespace {

size_t CountAllFrames(const MeterLog& log) {
  return Select(log.Read(), AnyFrame).size();
}

void CloseBox(HWND box) {
  PostMessageA(box, WM_COMMAND, IDOK, 0);
}

using TorvexEndToEnd = TorvexTest;

TEST_F(TorvexEndToEnd, OneIdleBridgeIsLinkedWithoutAskingAndRefreshedEveryPeriod) {
  scenario.bridges[0].temperature = 41;
  ASSERT_NE(StartWithWindow(), nullptr);
  EXPECT_TRUE(torvex.FindWindows("#32770", nullptr).empty()) << "no dialog should be shown";

  MeterLogRecords frames = scenario.Log().WaitForCount(FrameOf(0), 12, 8000);
  ASSERT_EQ(frames.size(), 12u);
  const int64_t order[4] = {3, 10, 8, 9};
  for (size_t i = 0; i < frames.size(); ++i) EXPECT_EQ(*frames[i].cmd, order[i % 4]) << i;
  // A first run shows the temperature, with the defaults for the fan and backlight.
  EXPECT_EQ(*frames[0].value, 41);
  EXPECT_EQ(*frames[1].low, 10);
  EXPECT_EQ(*frames[1].high, 80);
  EXPECT_EQ(*frames[1].fanMode, 1);
  EXPECT_EQ(*frames[3].fan, 100);

  auto link = scenario.Log().WaitForRecord(
      [](const MeterLogRecord& r) { return r.IsCall("CH341SetExclusive") && r.exclusive == 1; });
  ASSERT_TRUE(link.has_value());
  int64_t firstPass = frames[0].tMs - link->tMs;
  EXPECT_GE(firstPass, 750);
  EXPECT_LE(firstPass, 2500);
  for (size_t pass = 1; pass < 3; ++pass) {
    int64_t period = frames[pass * 4].tMs - frames[(pass - 1) * 4].tMs;
    EXPECT_GE(period, 800);
    EXPECT_LE(period, 2000);
  }
}

TEST_F(TorvexEndToEnd, NoBridgeShowsTheErrorBoxThenRunsWithoutFrames) {
  scenario.bridges[0].present = false;
  ASSERT_TRUE(Start());
  HWND box = nullptr;
  EXPECT_EQ(torvex.WaitForMessageBox(&box), "Not Found Velquin Torvex!\n");
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(GetWindow(box, GW_OWNER), nullptr);
  EXPECT_EQ(WindowText(box), "Error");  // the system's default title
  EXPECT_EQ(torvex.MainWindow(0), nullptr) << "the window opens only after the box";
  CloseBox(box);
  ASSERT_NE(torvex.MainWindow(), nullptr);
  Sleep(2000);  // two refresh periods
  EXPECT_EQ(CountAllFrames(scenario.Log()), 0u);
}

TEST_F(TorvexEndToEnd, TwoIdleBridgesAskAndOkLinksTheFirstInTextOrder) {
  scenario.bridges[0].present = false;
  scenario.bridges[2].present = true;
  scenario.bridges[10].present = true;
  ASSERT_TRUE(Start());
  HWND dialog = torvex.WaitForDialog("Choose a Device...");
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(GetWindow(dialog, GW_OWNER), nullptr);
  HWND list = GetDlgItem(dialog, IDC_DEVICE_LIST);
  EXPECT_EQ(ComboItems(list), (std::vector<std::string>{"Device 10", "Device 2"}));
  EXPECT_EQ(SendMessageA(list, CB_GETCURSEL, 0, 0), 0);
  EXPECT_EQ(torvex.MainWindow(0), nullptr);
  PostMessageA(dialog, WM_COMMAND, IDOK, 0);
  EXPECT_EQ(scenario.Log().WaitForCount(FrameOf(10), 4, 5000).size(), 4u);
  EXPECT_EQ(Select(scenario.Log().Read(), FrameOf(2)).size(), 0u);
}

TEST_F(TorvexEndToEnd, CancellingTheFirstSearchEndsWithExitCodeZero) {
  scenario.bridges[0].present = false;
  scenario.bridges[2].present = true;
  scenario.bridges[10].present = true;
  struct Way {
    const char* name;
    UINT message;
    WPARAM wParam;
  } ways[] = {{"cancel_button", WM_COMMAND, IDCANCEL}, {"close_box", WM_SYSCOMMAND, SC_CLOSE}};
  for (const Way& way : ways) {
    SCOPED_TRACE(way.name);
    ASSERT_TRUE(Start());
    HWND dialog = torvex.WaitForDialog("Choose a Device...");
    ASSERT_NE(dialog, nullptr);
    PostMessageA(dialog, way.message, way.wParam, 0);
    EXPECT_EQ(torvex.WaitForExit(), 0u);
  }
  EXPECT_FALSE(ReadSettingsValue("Display Item").has_value()) << "no window, nothing saved";
}

TEST_F(TorvexEndToEnd, UnplugAndPlugTheMeter) {
  ASSERT_NE(StartWithWindow(), nullptr);
  ASSERT_EQ(scenario.Log().WaitForCount(FrameOf(0), 4, 5000).size(), 4u);

  scenario.bridges[0].present = false;
  ASSERT_TRUE(scenario.Apply());
  HWND box = nullptr;
  EXPECT_EQ(torvex.WaitForMessageBox(&box), "Velquin Torvex has been Ejected!");
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(GetWindow(box, GW_OWNER), window);
  size_t framesAfterUnplug = CountAllFrames(scenario.Log());
  CloseBox(box);
  Sleep(2000);  // two refresh periods
  EXPECT_EQ(CountAllFrames(scenario.Log()), framesAfterUnplug) << "frames stop";

  scenario.bridges[0].present = true;
  ASSERT_TRUE(scenario.Apply());
  EXPECT_EQ(torvex.WaitForMessageBox(&box), "Velquin Torvex has been Inserted and Linked!");
  EXPECT_TRUE(torvex.FindWindows("#32770", "Choose a Device...").empty());
  if (box) CloseBox(box);
  EXPECT_TRUE(scenario.Log().WaitFor(
      [&](const MeterLogRecords& records) {
        return Select(records, FrameOf(0)).size() >= framesAfterUnplug + 4;
      },
      5000));
}

TEST_F(TorvexEndToEnd, F3SwitchesToAnotherIdleBridgeOrSaysThereIsNone) {
  ASSERT_NE(StartWithWindow(), nullptr);

  PostMessageA(window, WM_KEYUP, VK_F3, 0);
  HWND box = nullptr;
  EXPECT_EQ(torvex.WaitForMessageBox(&box), "No more Velquin Torvex Found!");
  if (box) CloseBox(box);

  scenario.bridges[1].present = true;  // a second meter arrives; the linked one stays
  ASSERT_TRUE(scenario.Apply());
  size_t before = Select(scenario.Log().Read(), FrameOf(0)).size();
  ASSERT_EQ(scenario.Log().WaitForCount(FrameOf(0), before + 4, 5000).size(), before + 4);
  EXPECT_TRUE(torvex.FindWindows("#32770", nullptr).empty());

  PostMessageA(window, WM_KEYUP, VK_F3, 0);
  HWND dialog = torvex.WaitForDialog("Choose a Device...");
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(GetWindow(dialog, GW_OWNER), window);
  EXPECT_EQ(ComboItems(GetDlgItem(dialog, IDC_DEVICE_LIST)),
            (std::vector<std::string>{"Device 1"}));
  PostMessageA(dialog, WM_COMMAND, IDOK, 0);
  EXPECT_EQ(scenario.Log().WaitForCount(FrameOf(1), 4, 5000).size(), 4u);
  EXPECT_TRUE(scenario.Log().WaitForRecord(CallOf("CH341CloseDevice", 0)).has_value());
}

TEST_F(TorvexEndToEnd, QuitSavesTheSettingsAndTheNextStartComesBackThere) {
  ASSERT_NE(StartWithWindow(), nullptr);
  SetWindowPos(window, nullptr, 210, 170, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  PostMessageA(window, WM_COMMAND, COMMAND_QUIT, 0);
  ASSERT_EQ(torvex.WaitForExit(), 1u);
  const std::pair<const char*, size_t> values[] = {{"Display Item", sizeof(DisplayItemRecord)},
                                                   {"System Control", sizeof(SystemControlRecord)},
                                                   {"Window Postion", sizeof(RecordRect)}};
  for (const auto& [name, size] : values) {
    unsigned long type = 0;
    auto bytes = ReadSettingsValue(name, &type);
    ASSERT_TRUE(bytes.has_value()) << name;
    EXPECT_EQ(bytes->size(), size) << name;
    EXPECT_EQ(type, static_cast<unsigned long>(REG_BINARY)) << name;
  }
  auto saved = ReadSettingsRecord<RecordRect>("Window Postion");
  ASSERT_TRUE(saved.has_value());
  EXPECT_EQ(saved->left, 210);
  EXPECT_EQ(saved->top, 170);

  ASSERT_NE(StartWithWindow(), nullptr);
  WaitUntil([&] { return WindowRect(window).left == 210; }, 5000);
  ExpectAt(window, {210, 170});
}

TEST_F(TorvexEndToEnd, EndingTheSessionSavesTheSettings) {
  ASSERT_NE(StartWithWindow(), nullptr);
  ASSERT_FALSE(ReadSettingsValue("System Control").has_value());
  SendMessageTimeoutA(window, WM_ENDSESSION, TRUE, 0, SMTO_ABORTIFHUNG, 5000, nullptr);
  EXPECT_TRUE(ReadSettingsRecord<SystemControlRecord>("System Control").has_value());
  EXPECT_TRUE(scenario.Log().WaitForRecord(CallOf("CH341CloseDevice", 0)).has_value());
  torvex.Kill();
}

}  // namespace
