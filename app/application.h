#pragma once
// Process-wide state of the application shell. Written on the UI thread only; Win32 files only.
#include <windows.h>

struct Application {
  HINSTANCE instance = nullptr;
  HWND mainWindow = nullptr;  // published when the main window's creation returns
};

extern Application application;
