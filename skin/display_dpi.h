#pragma once
// The DPI a window is shown at, and system metrics at a DPI. Windows 10 knows a DPI per monitor;
// Windows 7 and 8 one for the whole system, which a program that says it is DPI-aware sees as it
// is. The newer calls are looked up at run time, so the program still starts on Windows 7.
// Win32 files only.
#include <windows.h>

#include <cstdint>

// The DPI of the monitor `window` is on (the system's where only that is known).
int32_t WindowDpi(HWND window);

// GetSystemMetrics(`index`) for a window at `dpi`.
int32_t SystemMetricAt(int index, int32_t dpi);
