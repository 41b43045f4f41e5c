#pragma once
// Process-wide state of the application shell: everything it keeps for the whole run, but for
// the notification icon's own, which tray_win32.cpp keeps. Written on the UI thread only; Win32
// files only.
#include <windows.h>

#include <memory>

#include "app/device_watch.h"
#include "app/temperature_warning.h"
#include "skin/skin_panel.h"

struct Application {
  HINSTANCE instance = nullptr;
  HWND mainWindow = nullptr;       // published when the main window's creation returns
  HANDLE refreshWorker = nullptr;  // ended and closed when the run ends
  std::unique_ptr<SkinPanel> skinPanel;
  bool runEnded = false;  // the run's end (quit, or the session ending) has saved the settings
  DeviceWatch devices;    // searches, hot-plug notices and the PC's sleep
  HWND searchDialog = nullptr;            // the SEARCH dialog on screen, if any
  TemperatureWarning temperatureWarning;  // follows the outcome of every refresh pass

  // This copy's claim on the user session, held for the whole run.
  HANDLE sessionCopy = nullptr;
  // The registration for the sleep notices of Modern Standby.
  HPOWERNOTIFY powerNotices = nullptr;
};

extern Application application;
