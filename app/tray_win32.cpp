#include "app/tray.h"

#include <shellapi.h>
#include <versionhelpers.h>

#include <cstdio>
#include <cstring>

#include "app/application.h"
#include "app/commands.h"
#include "app/main_window.h"
#include "app/meter_status.h"
#include "app/tray_menu.h"
#include "res/resource.h"
#include "settings/work_area.h"
#include "skin/display_dpi.h"

namespace {

constexpr UINT TRAY_ICON_ID = 1;
constexpr UINT TRAY_ICON_FLAGS = NIF_MESSAGE | NIF_ICON | NIF_TIP;  // 7
constexpr size_t TIP_LENGTH_V1 = 64;  // what the first form of the record carries, with its end
constexpr const char* WARNING_TITLE = "Velquin Torvex";

// The record's first form, with the 64-character tip: every version of the shell takes it.
#ifndef _WIN64
static_assert(NOTIFYICONDATAA_V1_SIZE == 88, "the notification record's first form is 88 bytes");
#endif

// Process-wide state of the notification icon; the UI thread's alone.
struct TrayState {
  // Whether our icon belongs in the notification area: from HideToTray until RemoveTrayIcon. The
  // window is hidden throughout; only the tray's About box hides it without the icon.
  bool iconShown = false;
  HICON icon = nullptr;  // the shell keeps its own copy of the picture
  int32_t iconDpi = 0;   // the DPI `icon` was loaded for
  // The icon's tip: the caption, and from the first pass on the meter's status below it. Kept
  // while the icon is away, so that the icon comes back with it.
  char tip[TIP_LENGTH_V1] = {};
  UINT taskbarCreatedMessage = 0;  // what Explorer broadcasts once it has (re)made the taskbar
  // The `raisings` count of the last temperature warning a notification told of: each raising is
  // told once, however often the icon comes and goes while it lasts.
  uint32_t warningTold = 0;
};

TrayState tray;

using LoadIconMetricCall = HRESULT(WINAPI*)(HINSTANCE, PCWSTR, int, HICON*);
constexpr int ICON_METRIC_SMALL = 0;  // LIM_SMALL

NOTIFYICONDATAA IconRecord() {
  NOTIFYICONDATAA record{};
  record.cbSize = NOTIFYICONDATAA_V1_SIZE;
  record.hWnd = application.mainWindow;
  record.uID = TRAY_ICON_ID;
  return record;
}

}  // namespace

HICON LoadNotificationIcon(HINSTANCE instance, int32_t dpi) {
  // The version the manifest asks for, already loaded; the system folder's older one lacks it.
  auto loadIconMetric = reinterpret_cast<LoadIconMetricCall>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("comctl32.dll"), "LoadIconMetric")));
  HICON icon = nullptr;
  if (loadIconMetric != nullptr &&
      SUCCEEDED(loadIconMetric(instance, L"icon2", ICON_METRIC_SMALL, &icon))) {
    return icon;
  }
  return static_cast<HICON>(LoadImageA(instance, APP_ICON_NAME, IMAGE_ICON,
                                       SystemMetricAt(SM_CXSMICON, dpi),
                                       SystemMetricAt(SM_CYSMICON, dpi), LR_DEFAULTCOLOR));
}

namespace {

// Loaded again only when the window's DPI has changed since, so that the icon has the size the
// shell shows at the scale of the moment.
HICON TrayIconImage() {
  int32_t dpi = WindowDpi(application.mainWindow);
  if (tray.icon && tray.iconDpi == dpi) return tray.icon;
  HICON icon = LoadNotificationIcon(application.instance, dpi);
  if (!icon) return tray.icon;  // the one there is, at another size, rather than none
  if (tray.icon) DestroyIcon(tray.icon);
  tray.icon = icon;
  tray.iconDpi = dpi;
  return tray.icon;
}

// Before the first pass the tip is the caption alone.
const char* TrayTip() {
  return tray.tip[0] != '\0' ? tray.tip : MAIN_WINDOW_CAPTION;
}

// The degree sign in the ANSI code page the tip is written in; "" where that has none.
void AnsiDegreeSign(char (&sign)[4]) {
  BOOL usedDefault = FALSE;
  int length =
      WideCharToMultiByte(CP_ACP, 0, L"\u00B0", 1, sign, sizeof sign - 1, nullptr, &usedDefault);
  if (length <= 0 || usedDefault) length = 0;
  sign[length] = '\0';
}

// A notification of the warning, when the icon is there and this raising has not been told yet.
// The record's second form is the first to carry a notification.
void TellWarningIfUntold() {
  const TemperatureWarning& warning = application.temperatureWarning;
  if (!tray.iconShown || !IsWarningUntold(warning, tray.warningTold)) {
    return;
  }
  NOTIFYICONDATAA record = IconRecord();
  record.cbSize = NOTIFYICONDATAA_V2_SIZE;
  record.uFlags = NIF_INFO;
  char degreeSign[4];
  AnsiDegreeSign(degreeSign);
  FormatWarningNotice(warning, degreeSign, record.szInfo, sizeof record.szInfo);
  snprintf(record.szInfoTitle, sizeof record.szInfoTitle, "%s", WARNING_TITLE);
  record.dwInfoFlags = NIIF_WARNING;
  // Known from Windows 7 on: kept back while the user has just signed in to a new machine.
  if (IsWindows7OrGreater()) record.dwInfoFlags |= NIIF_RESPECT_QUIET_TIME;
  // Told only once the shell has it; without a taskbar the next pass tries again.
  if (Shell_NotifyIconA(NIM_MODIFY, &record)) tray.warningTold = warning.raisings;
}

// Keeps the tip, and tells the icon when it has changed.
void ShowTrayTip(const char* tip) {
  if (std::strcmp(tip, tray.tip) == 0) return;
  snprintf(tray.tip, sizeof tray.tip, "%s", tip);
  if (!tray.iconShown) return;
  NOTIFYICONDATAA record = IconRecord();
  record.uFlags = NIF_TIP;
  snprintf(record.szTip, TIP_LENGTH_V1, "%s", tip);
  Shell_NotifyIconA(NIM_MODIFY, &record);
}

void AddTrayIcon() {
  NOTIFYICONDATAA record = IconRecord();
  record.uFlags = TRAY_ICON_FLAGS;
  record.uCallbackMessage = TRAY_CALLBACK_MESSAGE;
  record.hIcon = TrayIconImage();
  snprintf(record.szTip, TIP_LENGTH_V1, "%s", TrayTip());
  // Without a taskbar (Explorer not up yet) this fails and the window stays hidden with no icon,
  // until a new taskbar announces itself.
  Shell_NotifyIconA(NIM_ADD, &record);
  tray.iconShown = true;
}

}  // namespace

void HideToTray() {
  if (application.runEnded) return;  // the tray's About box closing after a quit
  ShowWindow(application.mainWindow, SW_MINIMIZE);
  ShowWindow(application.mainWindow, SW_HIDE);
  AddTrayIcon();
  TellWarningIfUntold();  // a warning raised while the window was shown
}

void RemoveTrayIcon() {
  if (!tray.iconShown) return;
  NOTIFYICONDATAA record = IconRecord();
  Shell_NotifyIconA(NIM_DELETE, &record);
  tray.iconShown = false;
}

void RestoreFromTray() {
  ShowWindow(application.mainWindow, SW_SHOW);
  ShowWindow(application.mainWindow, SW_RESTORE);
  KeepOnWorkArea(application.mainWindow);  // the monitors may have changed meanwhile
  RemoveTrayIcon();
}

void ShowPassInTray(const PassOutcome& outcome) {
  char degreeSign[4];
  AnsiDegreeSign(degreeSign);
  char status[TIP_LENGTH_V1];
  FormatTrayStatus(outcome, application.temperatureWarning, degreeSign, status, sizeof status);
  char tip[TIP_LENGTH_V1];
  snprintf(tip, sizeof tip, "%s\n%s", MAIN_WINDOW_CAPTION, status);
  ShowTrayTip(tip);
  TellWarningIfUntold();
}

void HandleTrayNotification(LPARAM mouseMessage) {
  switch (mouseMessage) {
    case WM_LBUTTONDBLCLK:
      RestoreFromTray();
      break;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:  // the second of two quick presses: a press all the same
      ShowTrayMenu();
      break;
  }
}

void RegisterTaskbarCreatedMessage() {
  tray.taskbarCreatedMessage = RegisterWindowMessageA("TaskbarCreated");
}

bool IsTaskbarCreatedMessage(UINT message) {
  // Zero when registering failed: that is WM_NULL, which the pop-up menus post.
  return tray.taskbarCreatedMessage != 0 && message == tray.taskbarCreatedMessage;
}

void HandleTaskbarCreated() {
  if (tray.iconShown) AddTrayIcon();
}
