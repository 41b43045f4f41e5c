#pragma once
// Process-wide state of the application shell: everything it keeps for the whole run. Written on
// the UI thread only; Win32 files only.
#include <windows.h>

#include <memory>

#include "app/device_watch.h"
#include "app/temperature_warning.h"
#include "skin/skin_panel.h"

struct Application {
  HINSTANCE instance = nullptr;
  HWND mainWindow = nullptr;       // published when the main window's creation returns
  HANDLE refreshWorker = nullptr;  // closed when the run ends; the thread ends with the process
  std::unique_ptr<SkinPanel> skinPanel;
  bool runEnded = false;  // the run's end (quit, or the session ending) has saved the settings
  // Whether our icon belongs in the notification area: from HideToTray until RemoveTrayIcon. The
  // window is hidden throughout; only the tray's About box hides it without the icon.
  bool trayIconShown = false;
  HICON trayIcon = nullptr;  // loaded once: the shell keeps its own copy of the picture
  // The icon's tip: the caption, and from the first pass on the meter's status below it. Kept
  // while the icon is away, so that the icon comes back with it.
  char trayTip[64] = {};
  // The `raisings` count of the last temperature warning a notification told of: each raising is
  // told once, however often the icon comes and goes while it lasts.
  uint32_t warningToldInTray = 0;
  UINT taskbarCreatedMessage = 0;  // what Explorer broadcasts once it has (re)made the taskbar
  DeviceWatch devices;             // searches and hot-plug notices on screen
  HWND searchDialog = nullptr;     // the SEARCH dialog on screen, if any
  TemperatureWarning temperatureWarning;  // follows the outcome of every refresh pass
};

extern Application application;
