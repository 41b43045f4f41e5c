// End to end: the real torvex.exe with the virtual meter, driven from outside as a user would.
#include <windows.h>

#include <gtest/gtest.h>

#include "windows/support/settings_key.h"
#include "windows/support/torvex_process.h"
#include "windows/support/virtual_meter_scenario.h"

namespace {

size_t CountAllFrames(const MeterLog& log) {
  return Select(log.Read(), [](const MeterLogRecord& r) { return r.IsFrame(); }).size();
}

void CloseBox(HWND box) {
  PostMessageA(box, WM_COMMAND, IDOK, 0);
}

class TorvexEndToEnd : public ::testing::Test {
 protected:
  void SetUp() override { DeleteSettingsKey(); }
  void TearDown() override { DeleteSettingsKey(); }
  VirtualMeterScenario scenario;
};

TEST_F(TorvexEndToEnd, OneIdleBridgeIsLinkedWithoutAskingAndRefreshedEveryPeriod) {
  scenario.bridges[0].present = true;
  scenario.bridges[0].temperature = 41;
  ASSERT_TRUE(scenario.Apply());
  TorvexProcess torvex("one_idle_bridge");
  ASSERT_TRUE(torvex.Start(scenario.IniPath()));
  ASSERT_NE(torvex.MainWindow(), nullptr);
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
  torvex.Quit();
}

TEST_F(TorvexEndToEnd, NoBridgeShowsTheErrorBoxThenRunsWithoutFrames) {
  ASSERT_TRUE(scenario.Apply());
  TorvexProcess torvex("no_bridge");
  ASSERT_TRUE(torvex.Start(scenario.IniPath()));
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
  torvex.Quit();
}

TEST_F(TorvexEndToEnd, TwoIdleBridgesAskAndOkLinksTheFirstInTextOrder) {
  scenario.bridges[2].present = true;
  scenario.bridges[10].present = true;
  ASSERT_TRUE(scenario.Apply());
  TorvexProcess torvex("two_idle_bridges");
  ASSERT_TRUE(torvex.Start(scenario.IniPath()));
  HWND dialog = torvex.WaitForDialog("Choose a Device...");
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(GetWindow(dialog, GW_OWNER), nullptr);
  HWND list = GetDlgItem(dialog, 101);
  EXPECT_EQ(ComboItems(list), (std::vector<std::string>{"Device 10", "Device 2"}));
  EXPECT_EQ(SendMessageA(list, CB_GETCURSEL, 0, 0), 0);
  EXPECT_EQ(torvex.MainWindow(0), nullptr);
  PostMessageA(dialog, WM_COMMAND, IDOK, 0);
  EXPECT_EQ(scenario.Log().WaitForCount(FrameOf(10), 4, 5000).size(), 4u);
  EXPECT_EQ(Select(scenario.Log().Read(), FrameOf(2)).size(), 0u);
  torvex.Quit();
}

TEST_F(TorvexEndToEnd, CancellingTheFirstSearchEndsWithExitCodeZero) {
  scenario.bridges[2].present = true;
  scenario.bridges[10].present = true;
  ASSERT_TRUE(scenario.Apply());
  struct Way {
    const char* name;
    UINT message;
    WPARAM wParam;
  } ways[] = {{"cancel_button", WM_COMMAND, IDCANCEL}, {"close_box", WM_SYSCOMMAND, SC_CLOSE}};
  for (const Way& way : ways) {
    TorvexProcess torvex(way.name);
    ASSERT_TRUE(torvex.Start(scenario.IniPath()));
    HWND dialog = torvex.WaitForDialog("Choose a Device...");
    ASSERT_NE(dialog, nullptr) << way.name;
    PostMessageA(dialog, way.message, way.wParam, 0);
    DWORD exitCode = 99;
    ASSERT_TRUE(torvex.WaitForExit(5000, &exitCode)) << way.name;
    EXPECT_EQ(exitCode, 0u) << way.name;
  }
  EXPECT_FALSE(ReadSettingsValue("Display Item").has_value()) << "no window, nothing saved";
}

TEST_F(TorvexEndToEnd, UnplugAndPlugTheMeter) {
  scenario.bridges[0].present = true;
  ASSERT_TRUE(scenario.Apply());
  TorvexProcess torvex("unplug_plug");
  ASSERT_TRUE(torvex.Start(scenario.IniPath()));
  ASSERT_NE(torvex.MainWindow(), nullptr);
  ASSERT_EQ(scenario.Log().WaitForCount(FrameOf(0), 4, 5000).size(), 4u);

  scenario.bridges[0].present = false;
  ASSERT_TRUE(scenario.Apply());
  HWND box = nullptr;
  EXPECT_EQ(torvex.WaitForMessageBox(&box), "Velquin Torvex has been Ejected!");
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(GetWindow(box, GW_OWNER), torvex.MainWindow());
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
  torvex.Quit();
}

TEST_F(TorvexEndToEnd, F3SwitchesToAnotherIdleBridgeOrSaysThereIsNone) {
  scenario.bridges[0].present = true;
  ASSERT_TRUE(scenario.Apply());
  TorvexProcess torvex("choose_device");
  ASSERT_TRUE(torvex.Start(scenario.IniPath()));
  HWND window = torvex.MainWindow();
  ASSERT_NE(window, nullptr);

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
  EXPECT_EQ(ComboItems(GetDlgItem(dialog, 101)), (std::vector<std::string>{"Device 1"}));
  PostMessageA(dialog, WM_COMMAND, IDOK, 0);
  EXPECT_EQ(scenario.Log().WaitForCount(FrameOf(1), 4, 5000).size(), 4u);
  EXPECT_TRUE(scenario.Log()
                  .WaitForRecord([](const MeterLogRecord& r) {
                    return r.IsCall("CH341CloseDevice") && r.index == 0;
                  })
                  .has_value());
  torvex.Quit();
}

TEST_F(TorvexEndToEnd, QuitSavesTheSettingsAndTheNextStartComesBackThere) {
  scenario.bridges[0].present = true;
  ASSERT_TRUE(scenario.Apply());
  {
    TorvexProcess torvex("quit_saves");
    ASSERT_TRUE(torvex.Start(scenario.IniPath()));
    HWND window = torvex.MainWindow();
    ASSERT_NE(window, nullptr);
    SetWindowPos(window, nullptr, 210, 170, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    PostMessageA(window, WM_COMMAND, 3, 0);
    DWORD exitCode = 99;
    ASSERT_TRUE(torvex.WaitForExit(5000, &exitCode));
    EXPECT_EQ(exitCode, 1u);
  }
  const std::pair<const char*, size_t> values[] = {
      {"Display Item", 292}, {"System Control", 56}, {"Window Postion", 16}};
  for (const auto& [name, size] : values) {
    unsigned long type = 0;
    auto bytes = ReadSettingsValue(name, &type);
    ASSERT_TRUE(bytes.has_value()) << name;
    EXPECT_EQ(bytes->size(), size) << name;
    EXPECT_EQ(type, static_cast<unsigned long>(REG_BINARY)) << name;
  }
  auto position = ReadSettingsValue("Window Postion");
  RECT saved;
  memcpy(&saved, position->data(), sizeof saved);
  EXPECT_EQ(saved.left, 210);
  EXPECT_EQ(saved.top, 170);

  TorvexProcess again("quit_saves_again");
  ASSERT_TRUE(again.Start(scenario.IniPath()));
  HWND window = again.MainWindow();
  ASSERT_NE(window, nullptr);
  RECT rect{};
  EXPECT_TRUE(WaitUntil(
      [&] {
        GetWindowRect(window, &rect);
        return rect.left == 210 && rect.top == 170;
      },
      5000))
      << rect.left << "," << rect.top;
  again.Quit();
}

TEST_F(TorvexEndToEnd, EndingTheSessionSavesTheSettings) {
  scenario.bridges[0].present = true;
  ASSERT_TRUE(scenario.Apply());
  TorvexProcess torvex("end_session");
  ASSERT_TRUE(torvex.Start(scenario.IniPath()));
  HWND window = torvex.MainWindow();
  ASSERT_NE(window, nullptr);
  ASSERT_FALSE(ReadSettingsValue("System Control").has_value());
  SendMessageTimeoutA(window, WM_ENDSESSION, TRUE, 0, SMTO_ABORTIFHUNG, 5000, nullptr);
  EXPECT_EQ(ReadSettingsValue("System Control").value_or(std::vector<uint8_t>()).size(), 56u);
  EXPECT_TRUE(scenario.Log()
                  .WaitForRecord([](const MeterLogRecord& r) {
                    return r.IsCall("CH341CloseDevice") && r.index == 0;
                  })
                  .has_value());
  torvex.Kill();
}

}  // namespace
