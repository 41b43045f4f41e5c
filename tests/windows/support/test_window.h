#pragma once
// A window of the test's own, for code under test that needs one to post or set timers on.
#include <windows.h>

// Registers `className` with `windowProc` (a class registered before is kept) and creates a small
// hidden pop-up of it. Null when that fails.
HWND CreateTestWindow(const char* className, WNDPROC windowProc);
