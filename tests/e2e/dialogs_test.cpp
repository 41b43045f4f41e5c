// End to end: the two settings dialogs of the real torvex.exe, opened from the skin, edited live
// while the virtual meter logs what each refresh pass sends, then kept or cancelled.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "app/commands.h"
#include "meter/meter_frame.h"
#include "monitor/refresh_rules.h"
#include "res/resource.h"
#include "settings/settings_records.h"
#include "support/busy_threads.h"
#include "support/record_bytes.h"
#include "windows/support/screenshot.h"
#include "windows/support/torvex_test.h"
#include "windows/support/user_input.h"

namespace {

constexpr int TEMPERATURE = 41;

// What the default "System Control" sends: manual fan at 100% between 10 and 80.
struct FanFrames {
  int64_t low, high, fanMode, fan;
};
constexpr FanFrames DEFAULT_FAN = {10, 80, 1, 100};

// The frames of one command logged after the first `mark` records.
MeterLogRecords FramesAfter(const MeterLogRecords& records, size_t mark, int64_t cmd) {
  MeterLogRecords frames;
  for (size_t i = mark; i < records.size(); ++i)
    if (records[i].IsFrame() && *records[i].cmd == cmd) frames.push_back(records[i]);
  return frames;
}

// Waits for three passes after `mark` and returns their frames of `cmd`. A pass already running
// at the mark may have read a field before the change; the second and third cannot have.
MeterLogRecords ThreePassesAfter(const MeterLog& log, size_t mark, int64_t cmd) {
  MeterLogRecords frames;
  log.WaitFor(
      [&](const MeterLogRecords& records) {
        frames = FramesAfter(records, mark, cmd);
        return frames.size() >= 3;
      },
      5000);
  return frames;
}

// Waits until `dialog` is gone.
bool DialogEnded(HWND dialog) {
  return WaitUntil([&] { return !IsWindow(dialog); });
}

void ExpectFanFrames(const MeterLog& log, size_t mark, const FanFrames& want, const char* when) {
  MeterLogRecords thresholds = ThreePassesAfter(log, mark, CMD_FAN_THRESHOLDS);
  MeterLogRecords fan = ThreePassesAfter(log, mark, CMD_FAN);
  ASSERT_GE(thresholds.size(), 3u) << when;
  ASSERT_GE(fan.size(), 3u) << when;
  for (size_t pass = 1; pass < 3; ++pass) {
    EXPECT_EQ(*thresholds[pass].low, want.low) << when << ", pass " << pass;
    EXPECT_EQ(*thresholds[pass].high, want.high) << when << ", pass " << pass;
    EXPECT_EQ(*thresholds[pass].fanMode, want.fanMode) << when << ", pass " << pass;
    EXPECT_EQ(*fan[pass].fan, want.fan) << when << ", pass " << pass;
  }
}

// Waits for a value frame after `mark` that `match` accepts; returns the last value seen.
template <typename Match>
int64_t WaitForValue(const MeterLog& log, size_t mark, Match match) {
  int64_t last = -1;
  log.WaitFor(
      [&](const MeterLogRecords& records) {
        MeterLogRecords values = FramesAfter(records, mark, CMD_VALUE);
        // The first frame may come from a pass that read the item before the change.
        for (size_t i = 1; i < values.size(); ++i) {
          last = *values[i].value;
          if (match(last)) return true;
        }
        return false;
      },
      6000);
  return last;
}

std::u16string WideText(HWND window) {
  wchar_t text[256] = {};
  SendMessageTimeoutW(window, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG,
                      2000, nullptr);
  return std::u16string(reinterpret_cast<const char16_t*>(text));
}

bool IsChecked(HWND dialog, int id) {
  return SendMessageA(GetDlgItem(dialog, id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

bool IsEnabled(HWND dialog, int id) {
  return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE;
}

// An arrow click as the scroll bar reports it: the step, then the end of the scroll.
void ClickArrow(HWND dialog, int scrollBarId, int code) {
  HWND scrollBar = GetDlgItem(dialog, scrollBarId);
  SendMessageA(dialog, WM_VSCROLL, MAKEWPARAM(code, 0), reinterpret_cast<LPARAM>(scrollBar));
  SendMessageA(dialog, WM_VSCROLL, MAKEWPARAM(SB_ENDSCROLL, 0),
               reinterpret_cast<LPARAM>(scrollBar));
}

// A real click on the middle of a dialog control.
void ClickControl(HWND dialog, int id) {
  POINT centre = CentreOf(WindowRect(GetDlgItem(dialog, id)));
  ScreenToClient(dialog, &centre);
  ClickAt(dialog, centre.x, centre.y);
}

// The selection of an edit of another process, as (start, end).
std::pair<int, int> SelectionOf(HWND edit) {
  DWORD packed = static_cast<DWORD>(SendMessageA(edit, EM_GETSEL, 0, 0));
  return {LOWORD(packed), HIWORD(packed)};
}

void ChooseComboEntry(HWND dialog, int comboId, int entry) {
  HWND combo = GetDlgItem(dialog, comboId);
  SendMessageA(combo, CB_SETCURSEL, entry, 0);
  SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(comboId, CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(combo));
}

int DriveEntry(HWND dialog, char letter) {
  HWND list = GetDlgItem(dialog, IDC_DRIVE_LIST);
  LRESULT count = SendMessageA(list, CB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i)
    if (SendMessageA(list, CB_GETITEMDATA, i, 0) == letter) return static_cast<int>(i);
  return -1;
}

// The whole percent of the disk that is free, from the volume's total free bytes.
int FreeShare(const char* root) {
  ULARGE_INTEGER available{}, total{}, free{};
  if (!GetDiskFreeSpaceExA(root, &available, &total, &free) || total.QuadPart == 0) return -1;
  return static_cast<int>(static_cast<double>(free.QuadPart) / total.QuadPart * 100 + 0.5);
}

// The control of `dialog`'s thread that has the keyboard focus.
HWND FocusOf(HWND dialog) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &info);
  return info.hwndFocus;
}

class TorvexDialogs : public TorvexTest {
 protected:
  TorvexDialogs() { scenario.bridges[0].temperature = TEMPERATURE; }

  // Starts torvex.exe, waits for its first pass, and opens a dialog with a real click on the skin
  // control of `command`. Null when any step fails.
  HWND OpenFromSkin(int32_t command, const char* caption) {
    if (!StartInForeground()) return nullptr;
    if (!scenario.Log().WaitForRecord(AnyFrame, 5000)) return nullptr;
    POINT control = CentreOf(COMMAND_CONTROLS[command]);
    ClickAt(window, control.x, control.y);
    return torvex.WaitForDialog(caption, 5000);
  }

  void ExpectCentredOverMainWindow(HWND dialog) {
    ExpectAt(dialog, CentredPosition(dialog, window));
    EXPECT_EQ(GetWindow(dialog, GW_OWNER), window);
  }

  size_t Mark() const { return scenario.Log().Read().size(); }
};

TEST_F(TorvexDialogs, FanDialogEditsLiveAndEscapePutsTheRecordBack) {
  HWND dialog = OpenFromSkin(COMMAND_FAN_BACKLIGHT, FAN_CAPTION);
  ASSERT_NE(dialog, nullptr);
  ExpectCentredOverMainWindow(dialog);
  EXPECT_TRUE(IsChecked(dialog, IDC_FAN_MANUAL));
  EXPECT_TRUE(IsChecked(dialog, IDC_BACKLIGHT_ALWAYS));
  EXPECT_EQ(WindowText(GetDlgItem(dialog, IDC_LOW_THRESHOLD)), "10");
  EXPECT_EQ(WindowText(GetDlgItem(dialog, IDC_BACKLIGHT_TO)), "23:59");
  EXPECT_FALSE(IsEnabled(dialog, IDC_LOW_THRESHOLD)) << "Manual has no 50% threshold";

  ClickControl(dialog, IDC_FAN_AUTO);
  ASSERT_TRUE(WaitUntil([&] { return IsEnabled(dialog, IDC_LOW_THRESHOLD_ARROWS); }, 2000));
  EXPECT_TRUE(IsChecked(dialog, IDC_FAN_AUTO));
  EXPECT_FALSE(IsChecked(dialog, IDC_FAN_MANUAL));
  EXPECT_FALSE(IsEnabled(dialog, IDC_FAN_RATIO));
  size_t mark = Mark();
  ClickArrow(dialog, IDC_LOW_THRESHOLD_ARROWS, SB_LINEUP);
  EXPECT_EQ(WindowText(GetDlgItem(dialog, IDC_LOW_THRESHOLD)), "11");
  EXPECT_EQ(SelectionOf(GetDlgItem(dialog, IDC_LOW_THRESHOLD)), std::make_pair(0, 2));
  ExpectFanFrames(scenario.Log(), mark, {11, 80, 2, 1}, "after Auto and the up arrow");
  Screenshot shot(dialog);
  EXPECT_TRUE(shot.Save(ArtifactPath("fan_backlight_dialog.bmp")));

  ASSERT_TRUE(BringToForeground(dialog));
  mark = Mark();
  PressKey(VK_ESCAPE);
  ASSERT_TRUE(DialogEnded(dialog)) << "Escape ends the dialog";
  ExpectFanFrames(scenario.Log(), mark, DEFAULT_FAN, "after Escape");
  EXPECT_FALSE(ReadSettingsValue("System Control").has_value()) << "nothing stored while running";

  torvex.Quit();
  auto stored = ReadSettingsRecord<SystemControlRecord>("System Control");
  ASSERT_TRUE(stored.has_value());
  EXPECT_EQ(stored->fanMode, FAN_MANUAL);
  EXPECT_EQ(stored->lowThreshold, 10);
  EXPECT_EQ(stored->highThreshold, 80);
  EXPECT_EQ(stored->fanRatio, 100);
}

TEST_F(TorvexDialogs, FanDialogOkKeepsTheChangesAndQuitStoresThem) {
  HWND dialog = OpenFromSkin(COMMAND_FAN_BACKLIGHT, FAN_CAPTION);
  ASSERT_NE(dialog, nullptr);
  SendMessageA(GetDlgItem(dialog, IDC_FAN_AUTO), BM_CLICK, 0, 0);
  for (int click = 0; click < 3; ++click) ClickArrow(dialog, IDC_LOW_THRESHOLD_ARROWS, SB_LINEUP);
  ClickArrow(dialog, IDC_HIGH_THRESHOLD_ARROWS, SB_LINEDOWN);
  EXPECT_EQ(WindowText(GetDlgItem(dialog, IDC_LOW_THRESHOLD)), "13");
  EXPECT_EQ(WindowText(GetDlgItem(dialog, IDC_HIGH_THRESHOLD)), "79");
  size_t mark = Mark();
  PostMessageA(dialog, WM_COMMAND, IDOK, 0);
  ASSERT_TRUE(DialogEnded(dialog));
  ExpectFanFrames(scenario.Log(), mark, {13, 79, 2, 1}, "after OK");
  EXPECT_FALSE(ReadSettingsValue("System Control").has_value()) << "nothing stored while running";

  torvex.Quit();
  auto stored = ReadSettingsRecord<SystemControlRecord>("System Control");
  ASSERT_TRUE(stored.has_value());
  EXPECT_EQ(stored->backlightMode, BACKLIGHT_ALWAYS);
  EXPECT_EQ(stored->fanMode, FAN_AUTO);
  EXPECT_EQ(stored->lowThreshold, 13);
  EXPECT_EQ(stored->highThreshold, 79);
  EXPECT_EQ(stored->fanRatio, 100);
}

TEST_F(TorvexDialogs, TimeArrowsWorkOnThePartAtTheCaretAndKeepItSelected) {
  HWND dialog = OpenFromSkin(COMMAND_FAN_BACKLIGHT, FAN_CAPTION);
  ASSERT_NE(dialog, nullptr);
  HWND from = GetDlgItem(dialog, IDC_BACKLIGHT_FROM);
  HWND to = GetDlgItem(dialog, IDC_BACKLIGHT_TO);
  // Values are never typed: read-only edits, each with the small arrows of a vertical scroll bar.
  // The edit turns the template's WS_BORDER into a sunken client edge when it is created.
  const LONG editStyle = ES_READONLY | ES_AUTOHSCROLL | ES_NOHIDESEL | WS_TABSTOP;
  for (int edit : {IDC_BACKLIGHT_FROM, IDC_BACKLIGHT_TO, IDC_LOW_THRESHOLD, IDC_HIGH_THRESHOLD,
                   IDC_FAN_RATIO}) {
    HWND control = GetDlgItem(dialog, edit);
    EXPECT_EQ(GetWindowLongA(control, GWL_STYLE) & editStyle, editStyle) << edit;
    EXPECT_TRUE((GetWindowLongA(control, GWL_STYLE) & WS_BORDER) ||
                (GetWindowLongA(control, GWL_EXSTYLE) & WS_EX_CLIENTEDGE))
        << edit;
    HWND arrows = GetDlgItem(dialog, edit + 1);
    EXPECT_EQ(ClassNameOf(arrows), "ScrollBar") << edit + 1;
    EXPECT_EQ(GetWindowLongA(arrows, GWL_STYLE) & SBS_VERT, SBS_VERT) << edit + 1;
  }
  const LONG dialogStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU;
  EXPECT_EQ(GetWindowLongA(dialog, GWL_STYLE) & dialogStyle, dialogStyle);
  EXPECT_FALSE(IsEnabled(dialog, IDC_BACKLIGHT_FROM_ARROWS)) << "only \"On From\" has times";
  SendMessageA(GetDlgItem(dialog, IDC_BACKLIGHT_ON_FROM), BM_CLICK, 0, 0);
  EXPECT_TRUE(IsEnabled(dialog, IDC_BACKLIGHT_FROM_ARROWS));
  EXPECT_TRUE(IsEnabled(dialog, IDC_BACKLIGHT_TO));

  SendMessageA(from, EM_SETSEL, 0, 0);
  ClickArrow(dialog, IDC_BACKLIGHT_FROM_ARROWS, SB_LINEDOWN);
  EXPECT_EQ(WindowText(from), "00:00") << "the down arrow stops at 0";
  ClickArrow(dialog, IDC_BACKLIGHT_FROM_ARROWS, SB_LINEUP);
  EXPECT_EQ(WindowText(from), "01:00");
  EXPECT_EQ(SelectionOf(from), std::make_pair(0, 2));

  SendMessageA(to, EM_SETSEL, 3, 3);
  ClickArrow(dialog, IDC_BACKLIGHT_TO_ARROWS, SB_LINEUP);
  EXPECT_EQ(WindowText(to), "23:00") << "the minute wraps without carrying";
  EXPECT_EQ(SelectionOf(to), std::make_pair(3, 5));
  ClickArrow(dialog, IDC_BACKLIGHT_TO_ARROWS, SB_LINEUP);
  EXPECT_EQ(WindowText(to), "23:01") << "the restored selection keeps the minute";

  // A real click on the upper arrow of the "to" scroll bar steps the minute again.
  RECT arrows{};
  GetWindowRect(GetDlgItem(dialog, IDC_BACKLIGHT_TO_ARROWS), &arrows);
  POINT upper = {(arrows.left + arrows.right) / 2, arrows.top + 3};
  ScreenToClient(dialog, &upper);
  ASSERT_TRUE(BringToForeground(dialog));
  ClickAt(dialog, upper.x, upper.y);
  EXPECT_TRUE(WaitUntil([&] { return WindowText(to) != "23:01"; }, 2000));
  EXPECT_EQ(WindowText(to).substr(0, 3), "23:") << WindowText(to);
  EXPECT_NE(WindowText(to), "23:01");
  PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
  EXPECT_TRUE(DialogEnded(dialog));
  torvex.Quit();
}

TEST_F(TorvexDialogs, DegreeLabelsReadBackAsU2103AndTheCloseBoxCancels) {
  HWND dialog = OpenFromSkin(COMMAND_FAN_BACKLIGHT, FAN_CAPTION);
  ASSERT_NE(dialog, nullptr);
  HWND first = GetDlgItem(dialog, IDC_LOW_THRESHOLD_LABEL);
  HWND second = GetDlgItem(dialog, IDC_HIGH_THRESHOLD_LABEL);
  HWND third = GetDlgItem(dialog, IDC_FAN_RATIO_LABEL);
  EXPECT_EQ(WideText(first), u"");
  EXPECT_EQ(WideText(second), u"Warning at(\u2103):");
  EXPECT_EQ(WideText(third), u"Fan Speed Ratio(%):");
  SendMessageA(GetDlgItem(dialog, IDC_FAN_AUTO), BM_CLICK, 0, 0);
  EXPECT_EQ(WideText(first), u"50% Speed at(\u2103):");
  EXPECT_EQ(WideText(second), u"100% Speed at(\u2103):");
  EXPECT_EQ(WideText(third), u"");
  SendMessageA(GetDlgItem(dialog, IDC_FAN_OFF), BM_CLICK, 0, 0);
  EXPECT_EQ(WideText(third), u"Fan Speed Ratio(%):");
  EXPECT_FALSE(IsEnabled(dialog, IDC_LOW_THRESHOLD_LABEL));
  EXPECT_FALSE(IsEnabled(dialog, IDC_FAN_RATIO_ARROWS));

  size_t mark = Mark();
  PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
  ASSERT_TRUE(DialogEnded(dialog));
  ExpectFanFrames(scenario.Log(), mark, DEFAULT_FAN, "after the close box");
  torvex.Quit();
}

TEST_F(TorvexDialogs, FanDialogDragsByItsBody) {
  HWND dialog = OpenFromSkin(COMMAND_FAN_BACKLIGHT, FAN_CAPTION);
  ASSERT_NE(dialog, nullptr);
  ASSERT_TRUE(BringToForeground(dialog));
  RECT client{};
  GetClientRect(dialog, &client);
  ExpectDraggedBy(dialog, {4, client.bottom - 4}, -50, 30);  // bare body below the fan frame
  PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
  EXPECT_TRUE(DialogEnded(dialog));
  torvex.Quit();
}

TEST_F(TorvexDialogs, DisplaySetupFollowsEachItemLiveAndCancelRestoresIt) {
  HWND dialog = OpenFromSkin(COMMAND_DISPLAY_SETUP, SETUP_CAPTION);
  ASSERT_NE(dialog, nullptr);
  ExpectCentredOverMainWindow(dialog);
  HWND items = GetDlgItem(dialog, IDC_ITEM_LIST);
  EXPECT_EQ(ComboItems(items),
            (std::vector<std::string>{"None", "HDD Space", "CPU Usage", "RAM Space",
                                      "Page File Space", "Temperature", "Fan Speed"}));
  EXPECT_EQ(SendMessageA(items, CB_GETCURSEL, 0, 0), 5) << "a first run shows the temperature";
  std::vector<std::string> drives = ComboItems(GetDlgItem(dialog, IDC_DRIVE_LIST));
  ASSERT_FALSE(drives.empty());
  EXPECT_EQ(drives.front(), "Driver C");
  const int driveC = DriveEntry(dialog, 'C');
  ASSERT_EQ(driveC, 0);
  EXPECT_FALSE(IsEnabled(dialog, IDC_DRIVE_LIST));
  EXPECT_FALSE(IsEnabled(dialog, IDC_USED_SPACE));

  size_t mark = Mark();
  {
    BusyThreads load;
    ChooseComboEntry(dialog, IDC_ITEM_LIST, 2);
    int64_t cpu = WaitForValue(scenario.Log(), mark, [](int64_t v) { return v >= 60 && v <= 100; });
    EXPECT_GE(cpu, 60) << "the busy threads show in the CPU figure";
    EXPECT_LE(cpu, 100);
  }
  EXPECT_FALSE(IsEnabled(dialog, IDC_ADDITIONAL_SETTING));

  mark = Mark();
  ChooseComboEntry(dialog, IDC_ITEM_LIST, 5);
  EXPECT_EQ(WaitForValue(scenario.Log(), mark, [](int64_t v) { return v == TEMPERATURE; }),
            TEMPERATURE);

  ChooseComboEntry(dialog, IDC_ITEM_LIST, 1);
  EXPECT_TRUE(IsEnabled(dialog, IDC_DRIVE_LIST));
  EXPECT_TRUE(IsEnabled(dialog, IDC_DRIVE_LABEL));
  EXPECT_TRUE(IsEnabled(dialog, IDC_USED_SPACE));
  EXPECT_TRUE(IsChecked(dialog, IDC_AVAILABLE_SPACE)) << "hddUsed starts 0";
  // No disk chosen yet: the first one is shown, and taken, so that its figures follow.
  EXPECT_EQ(SendMessageA(GetDlgItem(dialog, IDC_DRIVE_LIST), CB_GETCURSEL, 0, 0), driveC);
  const int freeShare = FreeShare("C:\\");
  ASSERT_GE(freeShare, 0);
  mark = Mark();
  SendMessageA(GetDlgItem(dialog, IDC_USED_SPACE), BM_CLICK, 0, 0);
  EXPECT_TRUE(IsChecked(dialog, IDC_USED_SPACE));
  int64_t used = WaitForValue(scenario.Log(), mark,
                              [&](int64_t v) { return std::abs(v - (100 - freeShare)) <= 1; });
  EXPECT_NEAR(used, 100 - freeShare, 1) << "Used Space";
  mark = Mark();
  SendMessageA(GetDlgItem(dialog, IDC_AVAILABLE_SPACE), BM_CLICK, 0, 0);
  int64_t available =
      WaitForValue(scenario.Log(), mark, [&](int64_t v) { return std::abs(v - freeShare) <= 1; });
  EXPECT_NEAR(available, freeShare, 1) << "Availalbe Space";

  ChooseComboEntry(dialog, IDC_ITEM_LIST, 3);
  EXPECT_FALSE(IsEnabled(dialog, IDC_DRIVE_LIST)) << "RAM Space has no disk";
  EXPECT_FALSE(IsEnabled(dialog, IDC_DRIVE_LABEL));
  EXPECT_TRUE(IsEnabled(dialog, IDC_AVAILABLE_SPACE));
  ChooseComboEntry(dialog, IDC_ITEM_LIST, 1);
  EXPECT_EQ(SendMessageA(GetDlgItem(dialog, IDC_DRIVE_LIST), CB_GETCURSEL, 0, 0), driveC);
  Screenshot shot(dialog);
  EXPECT_TRUE(shot.Save(ArtifactPath("display_setup_dialog.bmp")));

  ASSERT_TRUE(BringToForeground(dialog));
  mark = Mark();
  ClickControl(dialog, IDCANCEL);
  ASSERT_TRUE(DialogEnded(dialog)) << "Cancel ends the dialog";
  EXPECT_EQ(WaitForValue(scenario.Log(), mark, [](int64_t v) { return v == TEMPERATURE; }),
            TEMPERATURE);
  MeterLogRecords values = ThreePassesAfter(scenario.Log(), Mark(), CMD_VALUE);
  ASSERT_GE(values.size(), 3u);
  for (const MeterLogRecord& value : values) EXPECT_EQ(*value.value, TEMPERATURE);
  EXPECT_FALSE(ReadSettingsValue("Display Item").has_value()) << "nothing stored while running";

  torvex.Quit();
  auto stored = ReadSettingsRecord<DisplayItemRecord>("Display Item");
  ASSERT_TRUE(stored.has_value());
  DisplayItemRecord firstRun{};
  firstRun.itemType = ITEM_TEMPERATURE;  // everything else as a first run leaves it
  EXPECT_EQ(BytesOf(*stored), BytesOf(firstRun));
}

TEST_F(TorvexDialogs, DisplaySetupOkKeepsTheItem) {
  HWND dialog = OpenFromSkin(COMMAND_DISPLAY_SETUP, SETUP_CAPTION);
  ASSERT_NE(dialog, nullptr);
  ChooseComboEntry(dialog, IDC_ITEM_LIST, 0);
  size_t mark = Mark();
  PostMessageA(dialog, WM_COMMAND, IDOK, 0);
  ASSERT_TRUE(DialogEnded(dialog));
  MeterLogRecords values = ThreePassesAfter(scenario.Log(), mark, CMD_VALUE);
  ASSERT_GE(values.size(), 3u);
  for (const MeterLogRecord& value : values) EXPECT_EQ(*value.value, 0) << "\"None\" shows 0";
  torvex.Quit();
  auto stored = ReadSettingsRecord<DisplayItemRecord>("Display Item");
  ASSERT_TRUE(stored.has_value());
  EXPECT_EQ(stored->itemType, ITEM_NONE);
}

// Tab reaches the arrows of "Warning at", choosing no radio button on the way; Down there steps
// the value live, as the arrow does, and Up in the value's own edit steps it back.
TEST_F(TorvexDialogs, TabReachesTheWarningArrowsAndDownStepsThem) {
  HWND dialog = OpenFromSkin(COMMAND_FAN_BACKLIGHT, FAN_CAPTION);
  ASSERT_TRUE(dialog && BringToForeground(dialog));
  HWND arrows = GetDlgItem(dialog, IDC_HIGH_THRESHOLD_ARROWS);
  HWND edit = GetDlgItem(dialog, IDC_HIGH_THRESHOLD);
  for (int tab = 0; tab < 8 && FocusOf(dialog) != arrows; ++tab) {
    HWND before = FocusOf(dialog);
    PressKey(VK_TAB);
    ASSERT_TRUE(WaitUntil([&] { return FocusOf(dialog) != before; }));
  }
  ASSERT_EQ(FocusOf(dialog), arrows);
  EXPECT_TRUE(IsChecked(dialog, IDC_BACKLIGHT_ALWAYS) && IsChecked(dialog, IDC_FAN_MANUAL));
  PressKey(VK_DOWN);
  ASSERT_TRUE(WaitUntil([&] { return WindowText(edit) == "79"; })) << WindowText(edit);
  ExpectFanFrames(scenario.Log(), Mark(), {10, 79, FAN_MANUAL, 100}, "after Down");
  PressChord(VK_SHIFT, VK_TAB);
  PressKey(VK_UP);
  EXPECT_TRUE(WaitUntil([&] { return WindowText(edit) == "80"; })) << WindowText(edit);
}

// A quit while a dialog is open (a second request to quit, log-off, an upgrade) saves the record
// as it was before the dialog, as Cancel would leave it, though the meter shows the live edit.
TEST_F(TorvexDialogs, QuitWhileADialogIsOpenSavesTheRecordFromBeforeIt) {
  const struct {
    const char* value;
    std::vector<uint8_t> stored;
    int32_t command;
    const char* caption;
    void (*edit)(HWND dialog);
    int64_t cmd, shown;  // the frame that shows the edit, and its figure
  } cases[] = {
      {"System Control", BytesOf(PatternedSystemControl()), COMMAND_FAN_BACKLIGHT, FAN_CAPTION,
       [](HWND d) { ClickArrow(d, IDC_HIGH_THRESHOLD_ARROWS, SB_LINEUP); }, CMD_FAN_THRESHOLDS, 61},
      {"Display Item", BytesOf(PatternedDisplayItem(21)), COMMAND_DISPLAY_SETUP, SETUP_CAPTION,
       [](HWND d) { ChooseComboEntry(d, IDC_ITEM_LIST, ITEM_NONE); }, CMD_VALUE, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.value);
    ASSERT_TRUE(WriteSettingsValue(c.value, c.stored.data(), c.stored.size()));
    HWND dialog = OpenFromSkin(c.command, c.caption);
    ASSERT_NE(dialog, nullptr);
    c.edit(dialog);
    EXPECT_TRUE(scenario.Log().WaitForRecord([&](const MeterLogRecord& r) {
      return r.cmd == c.cmd && (c.cmd == CMD_VALUE ? r.value : r.high) == c.shown;
    }));
    PostMessageA(window, WM_COMMAND, COMMAND_QUIT, 0);
    EXPECT_EQ(torvex.WaitForExit(), 1u);
    EXPECT_EQ(ReadSettingsValue(c.value), c.stored);
  }
}

}  // namespace
