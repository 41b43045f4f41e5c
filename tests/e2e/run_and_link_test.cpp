// End to end: the real torvex.exe with the virtual meter, driven from outside as a user would, and
// what its event log tells of it.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "app/commands.h"
#include "res/resource.h"
#include "settings/settings_records.h"
#include "windows/support/torvex_log.h"
#include "windows/support/torvex_test.h"
#include "windows/support/user_input.h"

namespace {

size_t CountAllFrames(const MeterLog& log) {
  return Select(log.Read(), AnyFrame).size();
}

// Answers a box and waits until it is gone, so the next box looked for is not this one.
void CloseBox(HWND box) {
  PostMessageA(box, WM_COMMAND, IDOK, 0);
  WaitUntil([&] { return !IsWindow(box); });
}

// How long something that must not appear is given to appear all the same.
constexpr DWORD NO_DIALOG_WAIT_MS = 600;

// Whether any record after the `from`th of `records` matches.
bool AnyAfter(const MeterLogRecords& records, size_t from,
              const std::function<bool(const MeterLogRecord&)>& match) {
  for (size_t i = from; i < records.size(); ++i)
    if (match(records[i])) return true;
  return false;
}

using TorvexEndToEnd = TorvexTest;

TEST_F(TorvexEndToEnd, OneIdleBridgeIsLinkedWithoutAskingAndRefreshedEveryPeriod) {
  scenario.bridges[0].temperature = 41;
  ASSERT_NE(StartWithWindow(), nullptr);
  EXPECT_TRUE(torvex.FindWindows(DIALOG_CLASS, nullptr).empty()) << "no dialog should be shown";

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
  HWND dialog = torvex.WaitForDialog(SEARCH_CAPTION);
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
    HWND dialog = torvex.WaitForDialog(SEARCH_CAPTION);
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
  TorvexLog log(torvex.LogFolder());
  ASSERT_TRUE(log.WaitFor("The user is told the meter was ejected"));
  uint64_t logged = log.Size();
  Sleep(2000);  // two refresh periods
  EXPECT_EQ(CountAllFrames(scenario.Log()), framesAfterUnplug) << "frames stop";
  EXPECT_EQ(log.Size(), logged) << "nothing is logged while nothing happens";

  scenario.bridges[0].present = true;
  ASSERT_TRUE(scenario.Apply());
  EXPECT_EQ(torvex.WaitForMessageBox(&box), "Velquin Torvex has been Inserted and Linked!");
  EXPECT_TRUE(torvex.FindWindows(DIALOG_CLASS, SEARCH_CAPTION).empty());
  if (box) CloseBox(box);
  EXPECT_TRUE(scenario.Log().WaitFor(
      [&](const MeterLogRecords& records) {
        return Select(records, FrameOf(0)).size() >= framesAfterUnplug + 4;
      },
      5000));
  EXPECT_EQ(torvex.Quit(), 1u);
  // Every step left its line: the start (its version is checked by the crash test), the link, the
  // removal and what it led to, the arrival and what it led to, the quit.
  const std::string folder = torvex.Folder();
  ExpectEventsInOrder(
      log.Events(),
      {"; program folder " + folder, "Bridge library found: " + folder + "\\CH341DLL.DLL",
       "Search: found device 0; idle: device 0", "Search: device 0 chosen",
       "Linked device 0 (opened at try 1 of 3)", "Skin read from " + folder + "\\skin\\",
       "Device change seen; device 0 linked", "Device 0 does not answer", "Released device 0",
       "The user is told the meter was ejected", "Device change seen; no meter linked",
       "Search: found device 0; idle: device 0", "Search: device 0 chosen", "Linked device 0",
       "The user is told the meter was inserted and linked", "Released device 0",
       "Quit; settings saved"});
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
  EXPECT_TRUE(torvex.FindWindows(DIALOG_CLASS, nullptr).empty());

  PostMessageA(window, WM_KEYUP, VK_F3, 0);
  HWND dialog = torvex.WaitForDialog(SEARCH_CAPTION);
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

// Pulling the linked meter while F3's search is open releases it at once: nothing reaches the
// bridge after the status read that saw it gone. F3 again brings that search forward instead of
// stacking another, and its choice then links.
TEST_F(TorvexEndToEnd, UnplugWhileASearchIsOpenEjectsAtOnceAndNothingStacks) {
  ASSERT_NE(StartWithWindow(), nullptr);
  scenario.bridges[1].present = true;  // a second meter, for the search to list
  ASSERT_TRUE(scenario.ApplyWhileLoaded());
  PostMessageA(window, WM_KEYUP, VK_F3, 0);
  HWND search = torvex.WaitForDialog(SEARCH_CAPTION);
  ASSERT_NE(search, nullptr);

  scenario.bridges[0].present = false;
  ASSERT_TRUE(scenario.ApplyWhileLoaded());
  HWND box = nullptr;
  EXPECT_EQ(torvex.WaitForMessageBox(&box), "Velquin Torvex has been Ejected!");
  MeterLogRecords records = scenario.Log().Read();
  size_t seen = records.size();
  for (size_t i = 0; i < records.size(); ++i) {
    if (records[i].IsCall("CH341GetStatus") && records[i].index == 0 && records[i].result == 0)
      seen = i;
  }
  ASSERT_LT(seen, records.size()) << "the failed status read";
  EXPECT_FALSE(AnyAfter(records, seen, [](const MeterLogRecord& r) {
    return (r.IsFrame() || r.IsError()) && r.index == 0;
  }));
  if (box) CloseBox(box);

  PostMessageA(window, WM_KEYUP, VK_F3, 0);
  Sleep(NO_DIALOG_WAIT_MS);
  EXPECT_EQ(torvex.FindWindows(DIALOG_CLASS, SEARCH_CAPTION).size(), 1u);
  PostMessageA(search, WM_COMMAND, IDOK, 0);
  EXPECT_EQ(scenario.Log().WaitForCount(FrameOf(1), 4, 5000).size(), 4u);
}

// With no meter linked, two arriving meters bring up a search with no owner. F3 then stacks no
// second one, and a meter that leaves while it is open is not lost: once the search is cancelled
// the one still there is linked.
TEST_F(TorvexEndToEnd, ASearchOpenedByAnArrivalStaysTheOnlyOneAndWhatChangedMeanwhileCounts) {
  scenario.bridges[0].present = false;
  ASSERT_TRUE(Start());
  HWND box = nullptr;
  EXPECT_EQ(torvex.WaitForMessageBox(&box), "Not Found Velquin Torvex!\n");
  if (box) CloseBox(box);
  window = torvex.MainWindow();
  ASSERT_NE(window, nullptr);

  scenario.bridges[0].present = true;
  scenario.bridges[1].present = true;
  ASSERT_TRUE(scenario.ApplyWhileLoaded());
  HWND search = torvex.WaitForDialog(SEARCH_CAPTION);
  ASSERT_NE(search, nullptr);
  EXPECT_EQ(GetWindow(search, GW_OWNER), nullptr);
  PostMessageA(window, WM_KEYUP, VK_F3, 0);
  Sleep(NO_DIALOG_WAIT_MS);
  EXPECT_EQ(torvex.FindWindows(DIALOG_CLASS, SEARCH_CAPTION).size(), 1u);

  scenario.bridges[1].present = false;
  ASSERT_TRUE(scenario.ApplyWhileLoaded());
  PostMessageA(search, WM_COMMAND, IDCANCEL, 0);
  EXPECT_EQ(torvex.WaitForMessageBox(&box), "Velquin Torvex has been Inserted and Linked!");
  if (box) CloseBox(box);
  EXPECT_GE(scenario.Log().WaitForCount(FrameOf(0), 4, 5000).size(), 4u);
}

// How many changes the storm below makes: TORVEX_STORM_CHANGES, else a short storm. `make soak`
// runs the long one (700) too.
int StormChanges() {
  const char* changes = std::getenv("TORVEX_STORM_CHANGES");
  return changes ? std::max(2, std::atoi(changes)) : 60;
}

// A loose cable overnight: changes 0.15 s apart with nobody to answer. At most one box is open,
// the link ends matching the meter, and in a long storm the process lives with flat memory; once
// the box is answered, one more tells the newest state.
TEST_F(TorvexEndToEnd, AHotPlugStormWithNobodyThereKeepsOneBoxAndEndsTrue) {
  ASSERT_NE(StartWithWindow(), nullptr);
  const int changes = StormChanges() / 2 * 2;  // even: plugged in last
  constexpr int WARM_UP = 100;
  size_t boxesAtMost = 0;
  size_t memoryAfterWarmUp = 0;
  size_t memoryAtMost = 0;
  for (int change = 1; change <= changes; ++change) {
    scenario.bridges[0].present = change % 2 == 0;  // pulled first, plugged in last
    ASSERT_TRUE(scenario.Apply()) << change;
    Sleep(150);
    ASSERT_TRUE(torvex.IsRunning()) << change;
    boxesAtMost = std::max(boxesAtMost, torvex.FindWindows(DIALOG_CLASS, nullptr).size());
    if (change == WARM_UP) memoryAfterWarmUp = torvex.PrivateBytes();
    if (change > WARM_UP) memoryAtMost = std::max(memoryAtMost, torvex.PrivateBytes());
  }
  EXPECT_EQ(boxesAtMost, 1u);
  if (changes > 2 * WARM_UP) {
    EXPECT_LT(memoryAtMost, memoryAfterWarmUp + (2u << 20)) << memoryAfterWarmUp;
  }
  size_t frames = Select(scenario.Log().Read(), FrameOf(0)).size();
  EXPECT_EQ(scenario.Log().WaitForCount(FrameOf(0), frames + 4, 5000).size(), frames + 4)
      << "linked again while the box waits";

  HWND box = nullptr;
  EXPECT_EQ(torvex.WaitForMessageBox(&box), "Velquin Torvex has been Ejected!");
  if (box) CloseBox(box);
  EXPECT_EQ(torvex.WaitForMessageBox(&box), "Velquin Torvex has been Inserted and Linked!");
  if (box) CloseBox(box);
  EXPECT_EQ(torvex.Quit(), 1u) << "and the next ordinary action works";
}

// The default close path hides the window before the run ends; the position the window was moved
// to is saved all the same.
TEST_F(TorvexEndToEnd, AltF4AndTheSystemMenusCloseSaveThePosition) {
  const bool byKeys[] = {true, false};
  POINT at = {200, 170};
  for (bool keys : byKeys) {
    ASSERT_NE(StartInForeground(), nullptr) << keys;
    at.x += 30;
    SetWindowPos(window, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    ASSERT_TRUE(WaitUntil([&] { return WindowRect(window).left == at.x; }));
    if (keys) {
      PressChord(VK_MENU, VK_F4);
    } else {
      PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    }
    ASSERT_EQ(torvex.WaitForExit(), 1u) << keys;
    auto saved = ReadSettingsRecord<RecordRect>("Window Postion");
    ASSERT_TRUE(saved.has_value()) << keys;
    EXPECT_EQ(saved->left, at.x) << keys;
    EXPECT_EQ(saved->top, at.y) << keys;
  }
}

}  // namespace
