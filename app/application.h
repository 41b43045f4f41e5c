#pragma once
// Process-wide state of the application shell. Written on the UI thread only; Win32 files only.
#include <windows.h>

#include <memory>

#include "skin/skin_panel.h"

struct Application {
  HINSTANCE instance = nullptr;
  HWND mainWindow = nullptr;       // published when the main window's creation returns
  HANDLE refreshWorker = nullptr;  // closed when the run ends; the thread ends with the process
  std::unique_ptr<SkinPanel> skinPanel;
};

extern Application application;
