#include "virtual-meter/device_change_win32.h"

#include <windows.h>
// windows.h first: dbt.h relies on its types.
#include <dbt.h>

namespace vmeter {

namespace {

BOOL CALLBACK PostToOwnWindow(HWND window, LPARAM) {
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  if (process == GetCurrentProcessId()) {
    PostMessageA(window, WM_DEVICECHANGE, DBT_DEVNODES_CHANGED, 0);
  }
  return TRUE;
}

}  // namespace

void AnnounceDeviceChange() {
  EnumWindows(PostToOwnWindow, 0);
}

}  // namespace vmeter
