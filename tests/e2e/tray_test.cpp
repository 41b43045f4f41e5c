// End to end: the real torvex.exe hidden to the notification area and back, its two pop-up menus
// and the About box, driven by real mouse and keyboard input and by the icon's own messages.
#include <windows.h>

#include <shellapi.h>

#include <gtest/gtest.h>

#include <algorithm>

#include "app/commands.h"
#include "app/temperature_warning.h"
#include "meter/meter_frame.h"
#include "res/resource.h"
#include "settings/settings_records.h"
#include "support/record_bytes.h"
#include "windows/support/screenshot.h"
#include "windows/support/test_window.h"
#include "windows/support/torvex_test.h"
#include "windows/support/user_input.h"

namespace {

constexpr RECT HIDE_CONTROL = COMMAND_CONTROLS[COMMAND_HIDE_TO_TRAY];
constexpr DWORD MENU_TIMEOUT_MS = 3000;
// How long a press that must not open a menu is given to open one all the same.
constexpr DWORD NO_MENU_WAIT_MS = 600;

NOTIFYICONDATAA IconRecord(HWND window) {
  NOTIFYICONDATAA record{};
  record.cbSize = NOTIFYICONDATAA_V1_SIZE;
  record.hWnd = window;
  record.uID = 1;
  return record;
}

// Whether the notification area holds icon 1 of `window`. A modify that changes nothing succeeds
// only for an icon that exists, whichever process asks.
bool TrayIconExists(HWND window) {
  NOTIFYICONDATAA record = IconRecord(window);
  return Shell_NotifyIconA(NIM_MODIFY, &record) != FALSE;
}

// What Explorer's restart does to the icons of every program: they are gone.
void LoseTrayIcon(HWND window) {
  NOTIFYICONDATAA record = IconRecord(window);
  Shell_NotifyIconA(NIM_DELETE, &record);
}

POINT ScreenPointOf(HWND window, POINT client) {
  ClientToScreen(window, &client);
  return client;
}

void ClickOnScreen(POINT screen, DWORD down, DWORD up, int clicks) {
  SetCursorPos(screen.x, screen.y);
  SendMouseAt(screen, 0);
  Sleep(150);
  for (int click = 0; click < clicks; ++click) {
    SendMouseAt(screen, down);
    Sleep(30);
    SendMouseAt(screen, up);
    Sleep(30);
  }
}

// The notification area sits at the taskbar's right end and lines its icons up from there
// leftwards in the order they came, so the newest is the leftmost of the group. Finds it by the
// pixels that differ from the bar's own colour.
bool FindNewestTrayIcon(HWND taskbar, RECT* icon) {
  constexpr int ICON_CELL = 20;  // a small icon and its border
  Screenshot bar(taskbar);
  if (bar.Width() < 2 * ICON_CELL || bar.Height() == 0) return false;
  COLORREF background = bar.Pixel(bar.Width() / 2, 1);
  int left = -1;
  int right = -1;
  for (int x = bar.Width() - 1, gap = 0; x >= bar.Width() / 2 && gap <= ICON_CELL; --x) {
    bool marked = false;
    for (int y = 0; y < bar.Height() && !marked; ++y) marked = bar.Pixel(x, y) != background;
    if (!marked) {
      if (left >= 0) ++gap;
      continue;
    }
    if (right < 0) right = x + 1;
    left = x;
    gap = 0;
  }
  if (left < 0) return false;
  *icon = {left, 0, std::min(left + ICON_CELL, right), bar.Height()};
  return true;
}

BOOL CALLBACK TakeShownTip(HWND window, LPARAM found) {
  std::string& tip = *reinterpret_cast<std::string*>(found);
  if (ClassNameOf(window) != "tooltips_class32" || !IsWindowVisible(window)) return TRUE;
  std::string text = WindowText(window);
  if (text.rfind(tip, 0) != 0) return TRUE;
  tip = text;
  return FALSE;
}

// The text of the shell's tooltip window that starts with `start` (the tip of our icon, or a
// notification; TakeShownTip gets the start and leaves the text); "" while none is shown.
std::string ShownTip(std::string start) {
  return EnumWindows(TakeShownTip, reinterpret_cast<LPARAM>(&start)) ? "" : start;
}

std::string ShownTrayTip() {
  return ShownTip("Velquin Torvex Ver 1.0");
}

std::string WarningText(int reading) {
  return std::string("Temperature ") + std::to_string(reading) +
         " \xB0\x43 is at or above the warning level of 80 \xB0\x43.";
}

// Leaves the icon, then comes to rest on it as a hand does, in two moves, so that the shell
// shows its tip afresh.
void RestOnIcon(POINT onIcon) {
  for (POINT at : {POINT{500, 400}, onIcon, POINT{onIcon.x + 1, onIcon.y}}) {
    SetCursorPos(at.x, at.y);
    SendMouseAt(at, 0);
    Sleep(150);
  }
}

class TorvexTray : public TorvexTest {
 protected:
  // Skin command 2, as the user gives it.
  bool HideWithTheSkin() {
    ClickAt(window, CentreOf(HIDE_CONTROL).x, CentreOf(HIDE_CONTROL).y);
    return WaitUntil([&] { return !IsWindowVisible(window) && TrayIconExists(window); });
  }

  void ExpectRestored() {
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(window) != FALSE; }));
    EXPECT_TRUE(WaitUntil([&] { return !TrayIconExists(window); }));
  }

  HWND WaitForMenu(DWORD timeoutMs = MENU_TIMEOUT_MS) const {
    return torvex.WaitForWindow(MENU_CLASS, nullptr, timeoutMs);
  }

  HWND OpenTrayMenu() {
    PostMessageA(window, TRAY_CALLBACK_MESSAGE, 1, WM_RBUTTONDOWN);
    return WaitForMenu();
  }

  bool NoWindowsLeft(const char* className) const {
    return WaitUntil([&] { return torvex.FindWindows(className, nullptr).empty(); });
  }
  bool MenuClosed() const { return NoWindowsLeft(MENU_CLASS); }
  bool DialogsClosed() const { return NoWindowsLeft(DIALOG_CLASS); }

  // Waits for the About box; checks that the main window owns it and that it is centred over
  // `frame`. Null when it does not come.
  HWND WaitForAboutBoxOver(HWND frame) const {
    HWND about = torvex.WaitForDialog(ABOUT_CAPTION);
    if (!about) return nullptr;
    EXPECT_EQ(GetWindow(about, GW_OWNER), window);
    ExpectAt(about, CentredPosition(about, frame));
    return about;
  }

  // Waits until the meter has been sent `value` in `passes` passes.
  bool Sent(int value, size_t passes = WARNING_PASSES) const {
    auto sent = [&](const MeterLogRecord& r) { return r.cmd == CMD_VALUE && r.value == value; };
    return scenario.Log().WaitForCount(sent, passes, 5000).size() >= passes;
  }

  bool FramesGoOn(int64_t index, size_t more) const {
    size_t before = Select(scenario.Log().Read(), FrameOf(index)).size();
    return scenario.Log().WaitForCount(FrameOf(index), before + more, 5000).size() >= before + more;
  }
};

TEST_F(TorvexTray, HideControlMovesTheWindowToTheTrayWhereFramesGoOn) {
  ASSERT_NE(StartInForeground(), nullptr);
  EXPECT_FALSE(TrayIconExists(window));

  ASSERT_TRUE(HideWithTheSkin());
  EXPECT_TRUE(IsIconic(window)) << "minimized, then hidden";
  EXPECT_TRUE(FramesGoOn(0, 8)) << "two more passes while hidden";

  PostMessageA(window, TRAY_CALLBACK_MESSAGE, 1, WM_LBUTTONDBLCLK);
  EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(window) && !IsIconic(window); }))
      << "shown and restored";
  EXPECT_TRUE(WaitUntil([&] { return !TrayIconExists(window); }));
  EXPECT_TRUE(FramesGoOn(0, 4));
}

TEST_F(TorvexTray, RealClicksOnTheIconOpenItsMenuAndRestoreTheWindow) {
  ASSERT_NE(StartInForeground(), nullptr);
  ASSERT_TRUE(HideWithTheSkin());
  HWND taskbar = FindWindowA("Shell_TrayWnd", nullptr);
  ASSERT_NE(taskbar, nullptr) << "the virtual desktop's taskbar";
  RECT icon{};
  ASSERT_TRUE(WaitUntil([&] { return FindNewestTrayIcon(taskbar, &icon); }))
      << "the icon is drawn in the notification area";
  Screenshot shownIcon(taskbar);
  EXPECT_TRUE(shownIcon.Save(ArtifactPath("torvex_tray_icon.bmp")));
  POINT onIcon = ScreenPointOf(taskbar, CentreOf(icon));

  ClickOnScreen(onIcon, MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP, 1);
  ASSERT_NE(WaitForMenu(), nullptr) << "the right button on the icon opens the tray menu";
  PressKey(VK_ESCAPE);
  ASSERT_TRUE(MenuClosed());
  EXPECT_FALSE(IsWindowVisible(window));

  // The double-click's second press, still held, brings the window back: the window must not
  // start a move for a press on the icon, whose release it might never see.
  ClickOnScreen(onIcon, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP, 1);
  SendMouseAt(onIcon, MOUSEEVENTF_LEFTDOWN);
  EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(window) != FALSE; }));
  EXPECT_FALSE(WaitUntil([&] { return IsMovingWindow(window); }, 300));
  SendMouseAt(onIcon, MOUSEEVENTF_LEFTUP);
  ExpectRestored();
  EXPECT_EQ(torvex.Quit(), 1u);
}

TEST_F(TorvexTray, TipNamesTheItemAndFollowsTheFigure) {
  ASSERT_NE(StartInForeground(), nullptr);
  ASSERT_TRUE(HideWithTheSkin());
  HWND taskbar = FindWindowA("Shell_TrayWnd", nullptr);
  RECT icon{};
  ASSERT_TRUE(WaitUntil([&] { return FindNewestTrayIcon(taskbar, &icon); }));
  for (int temperature : {41, 79}) {  // below the warning level
    scenario.bridges[0].temperature = temperature;
    ASSERT_TRUE(scenario.Apply());
    ASSERT_TRUE(scenario.Log().WaitForRecord(
        [&](const MeterLogRecord& r) { return r.cmd == CMD_VALUE && r.value == temperature; },
        5000));
    RestOnIcon(ScreenPointOf(taskbar, CentreOf(icon)));
    std::string tip = "Velquin Torvex Ver 1.0\nTemperature " + std::to_string(temperature) +
                      " \xB0"
                      "C";
    EXPECT_TRUE(WaitUntil([&] { return ShownTrayTip() == tip; })) << ShownTrayTip();
  }
}

// The default settings show the temperature and warn at 80 degrees.
TEST_F(TorvexTray, ANotificationTellsOfEachCrossingOfTheWarningLevel) {
  scenario.bridges[0].temperature = 88;
  ASSERT_NE(StartInForeground(), nullptr);
  ASSERT_TRUE(Sent(88));  // raised while the window is shown: told when it is hidden
  ASSERT_TRUE(HideWithTheSkin());
  EXPECT_TRUE(WaitUntil([&] { return ShownTip("Temperature ") == WarningText(88); }))
      << ShownTip("Temperature ");

  scenario.bridges[0].temperature = 77;  // three degrees below: the warning ends
  ASSERT_TRUE(ApplyScenario());
  ASSERT_TRUE(Sent(77));
  scenario.bridges[0].temperature = 81;
  ASSERT_TRUE(ApplyScenario());
  ASSERT_TRUE(Sent(81));
  EXPECT_TRUE(WaitUntil([&] { return ShownTip("Temperature ") == WarningText(81); }))
      << ShownTip("Temperature ");
}

TEST_F(TorvexTray, WindowMenuOnTheBareSkinReachesTheAboutBoxCentredOverTheWindow) {
  ASSERT_NE(StartInForeground(), nullptr);
  RightClickAt(window, BARE_SURFACE.x, BARE_SURFACE.y);
  HWND menu = WaitForMenu();
  ASSERT_NE(menu, nullptr);
  ExpectAt(menu, ScreenPointOf(window, BARE_SURFACE));  // at the cursor
  Screenshot shownMenu(GetDesktopWindow());
  EXPECT_TRUE(shownMenu.Save(ArtifactPath("torvex_window_menu.bmp")));

  PressKey('A');
  HWND about = WaitForAboutBoxOver(window);
  ASSERT_NE(about, nullptr);
  EXPECT_TRUE(torvex.FindWindows(MENU_CLASS, nullptr).empty());
  EXPECT_EQ(WindowText(GetDlgItem(about, IDOK)), "OK");
  Screenshot shownAbout(GetDesktopWindow());
  EXPECT_TRUE(shownAbout.Save(ArtifactPath("torvex_about.bmp")));

  PressKey(VK_RETURN);
  EXPECT_TRUE(DialogsClosed());
  EXPECT_TRUE(torvex.IsRunning());
  EXPECT_TRUE(IsWindowEnabled(window));
}

// Items are reached by arrow keys from the top, so separators and order show: the window menu
// is About, (separator), Choose Device, (separator), Quit.
TEST_F(TorvexTray, WindowMenuItemsComeInOrderBetweenSeparators) {
  ASSERT_NE(StartInForeground(), nullptr);

  RightClickAt(window, BARE_SURFACE.x, BARE_SURFACE.y);
  ASSERT_NE(WaitForMenu(), nullptr);
  PressKey(VK_DOWN);
  PressKey(VK_DOWN);
  PressKey(VK_RETURN);
  HWND box = nullptr;
  EXPECT_EQ(torvex.WaitForMessageBox(&box), "No more Velquin Torvex Found!");
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(GetWindow(box, GW_OWNER), window);
  PostMessageA(box, WM_COMMAND, IDOK, 0);
  ASSERT_TRUE(DialogsClosed());

  ASSERT_TRUE(BringToForeground(window));
  RightClickAt(window, BARE_SURFACE.x, BARE_SURFACE.y);
  ASSERT_NE(WaitForMenu(), nullptr);
  PressKey(VK_DOWN);
  PressKey(VK_DOWN);
  PressKey(VK_DOWN);
  PressKey(VK_RETURN);
  ASSERT_EQ(torvex.WaitForExit(), 1u) << "the third item quits";
  EXPECT_TRUE(ReadSettingsValue("Window Postion").has_value()) << "quit while visible";
}

TEST_F(TorvexTray, RightPressOverACommandControlOpensNoMenu) {
  ASSERT_NE(StartInForeground(), nullptr);
  const RECT& setup = COMMAND_CONTROLS[0];
  std::vector<POINT> inside = {{setup.left, setup.top}, {setup.right - 1, setup.bottom - 1}};
  for (const RECT& control : COMMAND_CONTROLS) inside.push_back(CentreOf(control));
  for (POINT point : inside) {
    RightClickAt(window, point.x, point.y);
    EXPECT_EQ(WaitForMenu(NO_MENU_WAIT_MS), nullptr) << point.x << "," << point.y;
    if (!torvex.FindWindows(MENU_CLASS, nullptr).empty()) PressKey(VK_ESCAPE);
  }
  // The right and bottom edges of a control lie outside it.
  POINT edges[] = {{setup.right, CentreOf(setup).y}, {CentreOf(setup).x, setup.bottom}};
  for (POINT edge : edges) {
    RightClickAt(window, edge.x, edge.y);
    EXPECT_NE(WaitForMenu(), nullptr) << edge.x << "," << edge.y;
    PressKey(VK_ESCAPE);
    EXPECT_TRUE(MenuClosed());
  }
  // The second of two quick presses at one place comes as a double-click: a press all the same.
  MoveCursorTo(window, BARE_SURFACE.x, BARE_SURFACE.y);
  PostMessageA(window, WM_RBUTTONDBLCLK, MK_RBUTTON, MAKELPARAM(BARE_SURFACE.x, BARE_SURFACE.y));
  EXPECT_NE(WaitForMenu(), nullptr);
  PressKey(VK_ESCAPE);
  EXPECT_TRUE(MenuClosed());
  EXPECT_TRUE(IsWindowVisible(window));
}

TEST_F(TorvexTray, F1OpensTheAboutBoxAndAnyCommandClosesIt) {
  ASSERT_NE(StartInForeground(), nullptr);
  struct Way {
    const char* name;
    UINT message;
    WPARAM wParam;
  } closes[] = {{"escape", WM_COMMAND, IDCANCEL},
                {"close box", WM_SYSCOMMAND, SC_CLOSE},
                {"other command", WM_COMMAND, 1234}};
  for (const Way& way : closes) {
    SCOPED_TRACE(way.name);
    ASSERT_TRUE(BringToForeground(window));
    PressKey(VK_F1);
    HWND about = WaitForAboutBoxOver(window);
    ASSERT_NE(about, nullptr);
    PostMessageA(about, way.message, way.wParam, 0);
    EXPECT_TRUE(DialogsClosed());
  }
  EXPECT_TRUE(torvex.IsRunning());
}

// Centred over a window partly above and left of the screen, the About box would start off it:
// it comes onto the screen instead, at the screen's corner.
TEST_F(TorvexTray, AboutBoxOverAWindowPartlyOffScreenComesOntoTheScreen) {
  ASSERT_NE(StartInForeground(), nullptr);
  SetWindowPos(window, nullptr, -300, -60, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  ASSERT_TRUE(WaitUntil([&] { return WindowRect(window).left == -300; }));
  PostMessageA(window, WM_KEYUP, VK_F1, 0);
  HWND about = torvex.WaitForDialog(ABOUT_CAPTION);
  ASSERT_NE(about, nullptr);
  POINT centred = CentredPosition(about, window);
  EXPECT_TRUE(centred.x < 0 && centred.y < 0);
  ExpectAt(about, {0, 0});
  PostMessageA(about, WM_COMMAND, IDOK, 0);
  EXPECT_TRUE(DialogsClosed());
}

TEST_F(TorvexTray, TrayAboutTakesTheIconAwayWhileOpenCentredOnTheDesktop) {
  ASSERT_NE(StartInForeground(), nullptr);
  ASSERT_TRUE(HideWithTheSkin());
  SetCursorPos(500, 400);
  HWND menu = OpenTrayMenu();
  ASSERT_NE(menu, nullptr);
  ExpectAt(menu, {500, 400});
  Screenshot shownMenu(GetDesktopWindow());
  EXPECT_TRUE(shownMenu.Save(ArtifactPath("torvex_tray_menu.bmp")));

  PressKey('A');
  ASSERT_NE(WaitForAboutBoxOver(GetDesktopWindow()), nullptr);
  EXPECT_FALSE(TrayIconExists(window)) << "no icon while the box is open";
  EXPECT_FALSE(IsWindowVisible(window));

  PressKey(VK_RETURN);
  EXPECT_TRUE(DialogsClosed());
  EXPECT_TRUE(WaitUntil([&] { return TrayIconExists(window); })) << "the icon comes back";
  EXPECT_FALSE(IsWindowVisible(window));
}

TEST_F(TorvexTray, TrayRestoreIsTheFirstItem) {
  ASSERT_NE(StartInForeground(), nullptr);
  ASSERT_TRUE(HideWithTheSkin());
  ASSERT_NE(OpenTrayMenu(), nullptr);
  PressKey(VK_DOWN);
  PressKey(VK_RETURN);
  ExpectRestored();

  ASSERT_TRUE(HideWithTheSkin());
  PostMessageA(window, TRAY_CALLBACK_MESSAGE, 1, WM_RBUTTONDBLCLK);  // a second quick press
  ASSERT_NE(WaitForMenu(), nullptr);
  PressKey('R');
  ExpectRestored();
}

TEST_F(TorvexTray, TrayChooseDeviceMovesTheLinkWhileHidden) {
  ASSERT_NE(StartInForeground(), nullptr);
  ASSERT_TRUE(HideWithTheSkin());

  // Only the linked meter: nothing else to choose.
  ASSERT_NE(OpenTrayMenu(), nullptr);
  PressKey('C');
  HWND box = nullptr;
  EXPECT_EQ(torvex.WaitForMessageBox(&box), "No more Velquin Torvex Found!");
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(GetWindow(box, GW_OWNER), window);
  PostMessageA(box, WM_COMMAND, IDOK, 0);
  EXPECT_TRUE(FramesGoOn(0, 4)) << "the link stays";

  scenario.bridges[1].present = true;  // a second, idle meter arrives
  ASSERT_TRUE(scenario.Apply());
  EXPECT_TRUE(FramesGoOn(0, 4));
  ASSERT_NE(OpenTrayMenu(), nullptr);
  PressKey(VK_DOWN);
  PressKey(VK_DOWN);
  PressKey(VK_DOWN);  // past the separator: the third item
  PressKey(VK_RETURN);
  HWND search = torvex.WaitForDialog(SEARCH_CAPTION);
  ASSERT_NE(search, nullptr);
  EXPECT_EQ(GetWindow(search, GW_OWNER), window);
  EXPECT_EQ(ComboItems(GetDlgItem(search, IDC_DEVICE_LIST)),
            (std::vector<std::string>{"Device 1"}));
  PostMessageA(search, WM_COMMAND, IDOK, 0);

  MeterLogRecords moved = scenario.Log().WaitForCount(FrameOf(1), 8, 6000);
  ASSERT_EQ(moved.size(), 8u) << "frames go to the new meter";
  MeterLogRecords records = scenario.Log().Read();
  // The start-up search opened and closed bridge 0 as well: the switch's release is the last.
  MeterLogRecords releases = Select(records, CallOf("CH341CloseDevice", 0));
  MeterLogRecords links = Select(records, [](const MeterLogRecord& r) {
    return r.IsCall("CH341SetExclusive") && r.index == 1 && r.exclusive == 1;
  });
  ASSERT_FALSE(releases.empty());
  ASSERT_EQ(links.size(), 1u);
  int64_t releasedAt = releases.back().tMs;
  int64_t linkedAt = links.front().tMs;
  EXPECT_LE(releasedAt, linkedAt);
  // The old meter was released between passes: it got whole passes only, the last one complete.
  MeterLogRecords old = Select(records, FrameOf(0));
  EXPECT_EQ(old.size() % 4, 0u);
  EXPECT_EQ(*old.back().cmd, 9);
  for (const MeterLogRecord& frame : old) EXPECT_LE(frame.tMs, releasedAt);
  EXPECT_TRUE(Select(records, [](const MeterLogRecord& r) { return r.IsError(); }).empty());
  // The RefreshTimer ran on through the switch: the next pass goes to the new meter.
  EXPECT_LE(moved.front().tMs - linkedAt, 2500);
  EXPECT_FALSE(IsWindowVisible(window));
  EXPECT_TRUE(TrayIconExists(window));
}

TEST_F(TorvexTray, TrayQuitRemovesTheIconAndKeepsTheSavedPosition) {
  const RecordRect saved = {300, 200, 720, 350};
  ASSERT_TRUE(WriteSettingsValue("Window Postion", &saved, sizeof saved));
  ASSERT_NE(StartInForeground(), nullptr);
  ASSERT_TRUE(WaitUntil([&] { return WindowRect(window).left == saved.left; }));
  SetWindowPos(window, nullptr, 150, 120, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  ASSERT_TRUE(HideWithTheSkin());
  ASSERT_NE(OpenTrayMenu(), nullptr);
  PressKey('Q');
  ASSERT_EQ(torvex.WaitForExit(), 1u);
  // Whether the icon went before the end is not checked: Wine drops the icons of a window that
  // is gone, and the program ends within milliseconds of removing its own.
  auto position = ReadSettingsRecord<RecordRect>("Window Postion");
  ASSERT_TRUE(position.has_value());
  EXPECT_EQ(BytesOf(*position), BytesOf(saved)) << "hidden: no position saved";
  EXPECT_TRUE(ReadSettingsRecord<DisplayItemRecord>("Display Item").has_value());
  EXPECT_TRUE(ReadSettingsRecord<SystemControlRecord>("System Control").has_value());
}

TEST_F(TorvexTray, TaskbarCreatedPutsALostIconBackOnlyWhileInTheTray) {
  ASSERT_NE(StartInForeground(), nullptr);
  const UINT taskbarCreated = RegisterWindowMessageA("TaskbarCreated");
  ASSERT_NE(taskbarCreated, 0u);

  PostMessageA(HWND_BROADCAST, taskbarCreated, 0, 0);
  EXPECT_FALSE(WaitUntil([&] { return TrayIconExists(window); }, NO_MENU_WAIT_MS))
      << "no icon for a visible window";

  ASSERT_TRUE(HideWithTheSkin());
  LoseTrayIcon(window);
  ASSERT_FALSE(TrayIconExists(window));
  PostMessageA(HWND_BROADCAST, taskbarCreated, 0, 0);
  EXPECT_TRUE(WaitUntil([&] { return TrayIconExists(window); }));

  // While the tray's About box is open the icon stays away.
  ASSERT_NE(OpenTrayMenu(), nullptr);
  PressKey('A');
  HWND about = torvex.WaitForDialog(ABOUT_CAPTION);
  ASSERT_NE(about, nullptr);
  PostMessageA(window, taskbarCreated, 0, 0);
  EXPECT_FALSE(WaitUntil([&] { return TrayIconExists(window); }, NO_MENU_WAIT_MS));
  PostMessageA(about, WM_COMMAND, IDOK, 0);
  EXPECT_TRUE(WaitUntil([&] { return TrayIconExists(window); }));
}

TEST_F(TorvexTray, TrayMenuTakesTheForegroundSoAClickElsewhereClosesIt) {
  ASSERT_NE(StartInForeground(), nullptr);
  ASSERT_TRUE(HideWithTheSkin());
  ForeignWindow foreign;
  ASSERT_TRUE(BringToForeground(foreign.window));

  SetCursorPos(300, 300);
  ASSERT_NE(OpenTrayMenu(), nullptr);
  EXPECT_EQ(GetForegroundWindow(), window);
  ClickOnScreen(ScreenPointOf(foreign.window, {100, 60}), MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP,
                1);
  EXPECT_TRUE(MenuClosed());
  EXPECT_FALSE(IsWindowVisible(window)) << "dismissed: nothing chosen";
  EXPECT_TRUE(TrayIconExists(window));

  // And it opens again at the next request.
  ASSERT_NE(OpenTrayMenu(), nullptr);
  PressKey(VK_ESCAPE);
  EXPECT_TRUE(MenuClosed());
}

}  // namespace
