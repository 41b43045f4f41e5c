// End to end: the real torvex.exe through a PC's day: sleep and wake, a display change, a quit
// inside a search, a second start, a chosen meter that will not open.
#include <windows.h>

#include <gtest/gtest.h>

#include "app/commands.h"
#include "app/device_watch.h"
#include "windows/support/test_window.h"
#include "windows/support/torvex_test.h"
#include "windows/support/user_input.h"

namespace {

class TorvexDay : public TorvexTest {
 protected:
  bool Send(UINT message, WPARAM wParam) {
    return SendMessageTimeoutA(window, message, wParam, 0, SMTO_ABORTIFHUNG, 5000, nullptr);
  }
  bool Plug(int index, bool present) {
    scenario.bridges[index].present = present;
    return ApplyScenario();
  }
  size_t LogSize() const { return scenario.Log().Read().size(); }
  // The records after the first `mark` that match, once there are `count` of them.
  MeterLogRecords Since(size_t mark, const std::function<bool(const MeterLogRecord&)>& match,
                        size_t count = 0, int timeoutMs = 5000) const {
    MeterLogRecords found;
    scenario.Log().WaitFor(
        [&](const MeterLogRecords& all) {
          found = Select(MeterLogRecords(all.begin() + mark, all.end()), match);
          return found.size() >= count;
        },
        count ? timeoutMs : 0);
    return found;
  }
  // The PC sleeps, and meter 0 stays (and gets no pass) or is pulled out meanwhile; it wakes with
  // both notices. The log's size once asleep, the pass in flight ended.
  size_t SleepAndWake(bool unplug) {
    EXPECT_TRUE(Send(WM_POWERBROADCAST, PBT_APMSUSPEND));
    size_t asleep = LogSize();
    if (unplug) {
      EXPECT_TRUE(Plug(0, false));
    } else {
      EXPECT_TRUE(Since(asleep, AnyFrame, 1, 1200).empty()) << "a pass in the sleep";
    }
    EXPECT_TRUE(Send(WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC));
    EXPECT_TRUE(Send(WM_POWERBROADCAST, PBT_APMRESUMESUSPEND));
    return asleep;
  }
  // Torvex started again while `shown`, the running copy's window, is behind another one.
  void StartAgain(HWND shown, const char* state) {
    ForeignWindow other;
    ASSERT_TRUE(BringToForeground(other.window)) << state;
    size_t mark = LogSize();
    DeleteSettingsKey();
    TorvexProcess second(InstalledProgram{torvex.Folder()});
    ASSERT_TRUE(second.Start(scenario.IniPath())) << state;
    EXPECT_EQ(second.WaitForExit(5000), 0u) << state;
    EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == shown; })) << state;
    EXPECT_TRUE(IsWindowVisible(shown)) << state;
    EXPECT_TRUE(Since(mark, [](const MeterLogRecord& r) { return !r.scenario.empty(); }).empty())
        << state << ": the second start loaded no bridge library";
    EXPECT_FALSE(SettingsKeyExists()) << state << ": nor touched the settings";
  }
};

// Three sleeps: meter 0 stays; it is gone in the sleep and back after the wake; the PC is
// undocked in the sleep, taking the meter and the monitor the window stood on. The day ends with
// a quit while a search asks which of two meters to take.
TEST_F(TorvexDay, SleepsWakesAndAQuitInsideASearch) {
  ASSERT_NE(StartWithWindow(), nullptr);
  ASSERT_GE(Since(0, FrameOf(0), 4).size(), 4u);
  size_t asleep = SleepAndWake(false);
  MeterLogRecords reads = Since(asleep, CallOf("CH341GetStatus", 0));
  MeterLogRecords frames = Since(asleep, FrameOf(0), 4);
  ASSERT_EQ(reads.size(), 1u) << "one status read for both wake notices";
  ASSERT_GE(frames.size(), 4u);
  EXPECT_LE(frames[0].tMs - reads[0].tMs, 1000) << "the first pass within a second";
  EXPECT_TRUE(Since(asleep, CallOf("CH341CloseDevice", 0)).empty()) << "no close and open";

  SleepAndWake(true);
  size_t back = LogSize();
  ASSERT_TRUE(Plug(0, true));
  frames = Since(back, FrameOf(0), 4);
  ASSERT_GE(frames.size(), 4u);
  EXPECT_LE(frames[0].tMs - scenario.Log().Read()[back].tMs, 2000) << "linked again at once";
  EXPECT_TRUE(torvex.FindWindows("#32770", nullptr).empty());

  SleepAndWake(true);
  ULONGLONG woke = GetTickCount64();
  for (auto [message, wParam] :
       {std::pair<UINT, WPARAM>{WM_DISPLAYCHANGE, 32}, {WM_SETTINGCHANGE, SPI_SETWORKAREA}}) {
    SetWindowPos(window, nullptr, 3000, 2000, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ASSERT_EQ(WindowRect(window).left, 3000);
    ASSERT_TRUE(Send(message, wParam));
    EXPECT_TRUE(IsOnWorkArea(window)) << message;
  }
  HWND box = nullptr;
  EXPECT_EQ(torvex.WaitForMessageBox(&box, SETTLE_PERIOD_MS + 3000),
            "Velquin Torvex has been Ejected!");
  EXPECT_GE(GetTickCount64() - woke, SETTLE_PERIOD_MS - 200) << "told after the settle period";
  PostMessageA(box, WM_COMMAND, IDOK, 0);

  scenario.bridges[1].present = true;
  ASSERT_TRUE(Plug(0, true));  // as ever from here: two idle meters, and the search asks
  ASSERT_NE(torvex.WaitForDialog(SEARCH_CAPTION), nullptr);
  PostMessageA(window, WM_COMMAND, COMMAND_QUIT, 0);
  EXPECT_EQ(torvex.WaitForExit(), 1u);
  MeterLogRecords log = scenario.Log().Read();
  EXPECT_EQ(
      Select(log, [](auto& r) { return r.IsCall("CH341OpenDevice") && r.result != -1; }).size(),
      Select(log, [](auto& r) { return r.IsCall("CH341CloseDevice"); }).size())
      << "every bridge opened is closed again";
}

// Two idle meters: Torvex is started again while the running copy asks which one to drive, then
// while it is shown, then while it is hidden in the tray. Then F3 chooses the second meter, which
// stops opening while the search is up.
TEST_F(TorvexDay, ASecondStartComesForwardAndAChoiceThatWillNotOpenKeepsTheLink) {
  scenario.bridges[1].present = true;
  ASSERT_TRUE(Start());
  HWND search = torvex.WaitForDialog(SEARCH_CAPTION);
  ASSERT_NE(search, nullptr);
  StartAgain(search, "asking");
  PostMessageA(search, WM_COMMAND, IDOK, 0);
  ASSERT_NE(window = torvex.MainWindow(), nullptr);
  StartAgain(window, "shown");
  PostMessageA(window, WM_COMMAND, COMMAND_HIDE_TO_TRAY, 0);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(window); }));
  StartAgain(window, "hidden");

  PostMessageA(window, WM_KEYUP, VK_F3, 0);
  ASSERT_NE(search = torvex.WaitForDialog(SEARCH_CAPTION), nullptr);
  scenario.bridges[1].opens = false;  // while the user looks
  ASSERT_TRUE(ApplyScenario());
  PostMessageA(search, WM_COMMAND, IDOK, 0);
  HWND box = nullptr;
  EXPECT_EQ(torvex.WaitForMessageBox(&box), "The chosen Velquin Torvex could not be opened!");
  EXPECT_EQ(GetWindow(box, GW_OWNER), window);
  EXPECT_GE(Since(LogSize(), FrameOf(0), 4).size(), 4u) << "frames go on to the first meter";
}

}  // namespace
