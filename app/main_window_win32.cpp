#include "app/main_window.h"

#include <commctrl.h>

#include <new>
#include <string>

#include "app/about_dialog.h"
#include "app/application.h"
#include "app/commands.h"
#include "app/device_choice.h"
#include "app/meter_status.h"
#include "app/power_notices.h"
#include "app/run_events.h"
#include "app/skin_location.h"
#include "app/tray.h"
#include "app/window_menu.h"
#include "log/log_writer.h"
#include "meter/meter_link.h"
#include "monitor/refresh_worker.h"
#include "res/resource.h"
#include "settings/settings_dialogs.h"
#include "settings/settings_records.h"
#include "settings/settings_registry.h"
#include "settings/work_area.h"
#include "skin/skin_file.h"
#include "skin/skin_poll.h"

namespace {

// Windows 10 1703 on; the SDK defines it only for programs that require that version.
#ifndef WM_GETDPISCALEDSIZE
constexpr UINT WM_GETDPISCALEDSIZE = 0x02E4;
#endif

constexpr int INITIAL_X = 133;
constexpr int INITIAL_Y = 135;
constexpr int INITIAL_WIDTH = 662;
constexpr int INITIAL_HEIGHT = 230;

bool IsFile(const char* path) {
  DWORD attributes = GetFileAttributesA(path);
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string FindSkinDirectory() {
  char skinFile[SKIN_NAME_SIZE];
  FormSkinFilePath(WORKING_SKIN_DIRECTORY, skinFile, sizeof skinFile);
  char program[MAX_PATH];
  DWORD length = GetModuleFileNameA(nullptr, program, sizeof program);
  if (length >= sizeof program) length = 0;  // cut short: no folder to trust
  return ChooseSkinDirectory(IsFile(skinFile), std::string_view(program, length),
                             SKIN_NAME_SIZE - 1);
}

LRESULT OnCreate(HWND window) {
  InitCommonControls();  // the skin's tooltips need the class
  RegisterTaskbarCreatedMessage();
  application.skinPanel.reset(new (std::nothrow) SkinPanel);
  if (!application.skinPanel) return -1;
  std::string skinDirectory = FindSkinDirectory();
  LogSkinFolder(skinDirectory.c_str());
  application.skinPanel->Load(window, skinDirectory.c_str(), SKIN_SECTION, SkinPoll);
  application.skinPanel->dragEnabled = 1;
  application.refreshWorker = CreateRefreshWorker(window);
  StartRefreshTimer(window);
  RegisterPowerNotices(window);
  return 0;
}

void OnDestroy(HWND window) {
  EndRun(window);
  PostQuitMessage(0);
}

void OnPaint(HWND window) {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window, &paint);
  if (application.skinPanel) application.skinPanel->Paint(dc);
  EndPaint(window, &paint);
}

// The one place where the temperature warning is raised and cleared: against the level the
// settings hold now. The event log tells each change.
void FollowTemperatureWarning(const PassOutcome& outcome) {
  WarningChange change = TrackTemperatureWarning(application.temperatureWarning, outcome,
                                                 settings.systemControl.highThreshold);
  LogWarningChange(change, application.temperatureWarning, outcome);
}

// The worker's report of a pass: the warning, the readout and the icon's tip follow the meter.
void OnPassOutcome(WPARAM first, LPARAM second) {
  PassOutcome outcome =
      UnpackPassOutcome(static_cast<uint32_t>(first), static_cast<uint32_t>(second));
  FollowTemperatureWarning(outcome);
  if (application.skinPanel) {
    bool warning = application.temperatureWarning.raised;
    application.skinPanel->ShowReadout(ReadoutStateOf(outcome, warning));
  }
  ShowPassInTray(outcome);
}

// The window is now on a monitor of another DPI, or its monitor's scale has changed: the skin is
// drawn anew for it, at the place the system suggests.
void OnDpiChanged(WPARAM dpis, LPARAM suggested) {
  if (!application.skinPanel) return;
  application.skinPanel->ChangeDpi(LOWORD(dpis), reinterpret_cast<const RECT*>(suggested));
}

// Asked before such a change (per-monitor v2): the window's size at the new DPI is the skin's, so
// that the suggested rectangle already has it. FALSE leaves the size to the system.
LRESULT OnGetDpiScaledSize(WPARAM dpi, LPARAM size) {
  if (!application.skinPanel) return FALSE;
  return application.skinPanel->DisplaySizeAt(static_cast<int32_t>(dpi),
                                              reinterpret_cast<SIZE*>(size));
}

// A monitor gone, a resolution lowered, a taskbar moved: the window stays within reach. A hidden
// window is placed when it comes back from the notification area.
void OnDisplayChange(HWND window) {
  if (IsWindowVisible(window) && !IsIconic(window)) KeepOnWorkArea(window);
}

void OnKeyUp(WPARAM key) {
  if (key == VK_F1) RunAboutDialog(application.mainWindow);
  if (key == VK_F3) ChooseDevice();
}

void OnCommand(int id) {
  switch (id) {
    case COMMAND_DISPLAY_SETUP:
      OpenDisplaySetupDialog(application.instance, application.mainWindow);
      break;
    case COMMAND_FAN_BACKLIGHT:
      OpenFanBacklightDialog(application.instance, application.mainWindow);
      break;
    case COMMAND_HIDE_TO_TRAY:
      HideToTray();
      break;
    case COMMAND_QUIT:
      QuitApplication();
      break;
  }
}

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  WakeSkinPollFor(window, message);  // the pointer or the foreground may be back
  switch (message) {
    case WM_CREATE:
      if (OnCreate(window) != 0) return -1;
      break;
    case WM_DESTROY:
      OnDestroy(window);
      break;
    case WM_CLOSE:
      // Alt+F4 and the system menu's Close: the default processing hides the window before
      // WM_DESTROY, so the run ends now, while a visible window still saves its position.
      EndRun(window);
      break;
    case WM_ENDSESSION:
      // Windows ends a program at log-off without WM_DESTROY; save the session's changes now.
      if (wParam) EndRun(window);
      break;
    case WM_PAINT:
      OnPaint(window);
      return 1;
    case WM_ERASEBKGND:
      return 1;  // the skin paints every pixel
    case WM_KEYUP:
      OnKeyUp(wParam);
      break;
    case WM_COMMAND:
      OnCommand(LOWORD(wParam));
      break;
    case WM_TIMER:
      ResumeRefreshWorker(application.refreshWorker);
      break;
    case WM_DEVICECHANGE:
      HandleDeviceChange();
      break;
    case WM_POWERBROADCAST:
      return HandlePowerBroadcast(wParam);
    case WM_DISPLAYCHANGE:
      OnDisplayChange(window);
      break;
    case WM_SETTINGCHANGE:
      if (wParam == SPI_SETWORKAREA) OnDisplayChange(window);
      break;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:                    // CS_DBLCLKS turns every second quick press into this
      if (!ShowWindowMenu(window)) return 0;  // a press on a command control
      break;
    case TRAY_CALLBACK_MESSAGE:
      HandleTrayNotification(lParam);
      break;
    case PASS_OUTCOME_MESSAGE:
      OnPassOutcome(wParam, lParam);
      return 0;
    case WM_DPICHANGED:
      OnDpiChanged(wParam, lParam);
      return 0;
    case WM_GETDPISCALEDSIZE:
      return OnGetDpiScaledSize(wParam, lParam);
  }
  // Registered at run time, so it cannot be a case above.
  if (IsTaskbarCreatedMessage(message)) HandleTaskbarCreated();
  return DefWindowProcA(window, message, wParam, lParam);
}

HICON LoadAppIcon(HINSTANCE instance, const char* name, int size) {
  return static_cast<HICON>(LoadImageA(instance, name, IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
}

}  // namespace

bool RegisterMainWindowClass(HINSTANCE instance) {
  WNDCLASSEXA extended{};
  extended.cbSize = sizeof extended;
  extended.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
  extended.lpfnWndProc = MainWindowProc;
  extended.hInstance = instance;
  extended.hIcon = LoadAppIcon(instance, APP_ICON_NAME, 32);
  extended.hCursor = LoadCursor(nullptr, IDC_HAND);
  extended.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  extended.lpszClassName = MAIN_WINDOW_CLASS;
  extended.hIconSm = LoadAppIcon(instance, APP_ICON_NAME, 16);
  if (RegisterClassExA(&extended)) return true;

  WNDCLASSA plain{};
  plain.style = extended.style;
  plain.lpfnWndProc = MainWindowProc;
  plain.hInstance = instance;
  plain.hIcon = LoadAppIcon(instance, PLAIN_CLASS_ICON_NAME, 32);
  plain.hCursor = extended.hCursor;
  plain.hbrBackground = extended.hbrBackground;
  plain.lpszClassName = MAIN_WINDOW_CLASS;
  return RegisterClassA(&plain) != 0;
}

HWND CreateMainWindow(HINSTANCE instance) {
  // No caption bar and no border: the caption text shows only in the task bar.
  return CreateWindowExA(0, MAIN_WINDOW_CLASS, MAIN_WINDOW_CAPTION,
                         WS_POPUP | WS_VISIBLE | WS_SYSMENU, INITIAL_X, INITIAL_Y, INITIAL_WIDTH,
                         INITIAL_HEIGHT, nullptr, nullptr, instance, nullptr);
}

void EndRun(HWND window) {
  if (application.runEnded) return;
  application.runEnded = true;
  EndRefreshCycle(window);  // no pass from here on, so no frame while the meter is released
  EndRefreshWorker(application.refreshWorker);
  if (application.refreshWorker) CloseHandle(application.refreshWorker);
  application.refreshWorker = nullptr;
  UnlinkDevice();
  // Whatever asked for the end (the installer's quit command, say): a dead icon would stay in
  // the notification area until the pointer crosses it.
  RemoveTrayIcon();
  UnregisterPowerNotices();
  LogRunEnd(SaveSettings(window));
  StopEventLog();
}

void QuitApplication() {
  // WM_DESTROY by hand rather than DestroyWindow: the shutdown steps run while the window is still
  // on screen, so that SaveSettings finds it visible and saves its position (DestroyWindow hides
  // it first). The window itself is left for the end of the process.
  SendMessageA(application.mainWindow, WM_DESTROY, 0, 0);
}
