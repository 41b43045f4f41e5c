#pragma once
// Windows of the test's own: one for code under test that needs a window to post or set timers
// on, and a visible one to take the foreground away from the program under test.
#include <windows.h>

// Registers `className` with `windowProc` (a class registered before is kept) and creates a small
// hidden pop-up of it. Null when that fails.
HWND CreateTestWindow(const char* className, WNDPROC windowProc);

// A visible, captioned window at a place of the screen, destroyed with the object.
class ForeignWindow {
 public:
  explicit ForeignWindow(RECT place = {600, 420, 840, 580});
  ~ForeignWindow();
  ForeignWindow(const ForeignWindow&) = delete;
  ForeignWindow& operator=(const ForeignWindow&) = delete;

  HWND window;
};
