#include "app/single_copy.h"

#include <windows.h>

#include "app/application.h"
#include "app/tray.h"

namespace {

// Both stable across versions, so an upgraded copy meets the one it replaces.
constexpr const char* SESSION_MUTEX_NAME = "Local\\Velquin Torvex";
// A message-only window the running copy keeps from its first moment: a second start finds it
// also while that copy still asks which meter to drive and has no main window yet.
constexpr const char* SESSION_WINDOW_CLASS = "Torvex Session";
constexpr UINT COME_FORWARD_MESSAGE = WM_APP;

BOOL CALLBACK BringForwardIfShown(HWND window, LPARAM) {
  if (!IsWindowVisible(window)) return TRUE;
  SetForegroundWindow(window);
  return FALSE;
}

// What the user sees of this copy comes to the front: the main window, back from the
// notification area if it is hidden there, or the dialog or box open over it; before the main
// window exists, the start-up search or its box.
void ComeForward() {
  HWND main = application.mainWindow;
  if (application.runEnded) return;
  if (!main) {
    EnumThreadWindows(GetCurrentThreadId(), BringForwardIfShown, 0);
    return;
  }
  if (!IsWindowVisible(main)) {
    RestoreFromTray();
  } else if (IsIconic(main)) {
    ShowWindow(main, SW_RESTORE);
  }
  SetForegroundWindow(GetLastActivePopup(main));
}

LRESULT CALLBACK SessionWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == COME_FORWARD_MESSAGE) ComeForward();
  return DefWindowProcA(window, message, wParam, lParam);
}

void OpenSessionWindow() {
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = SessionWindowProc;
  windowClass.hInstance = application.instance;
  windowClass.lpszClassName = SESSION_WINDOW_CLASS;
  RegisterClassA(&windowClass);
  CreateWindowExA(0, SESSION_WINDOW_CLASS, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                  application.instance, nullptr);
}

void AskRunningCopyToComeForward() {
  HWND running = FindWindowExA(HWND_MESSAGE, nullptr, SESSION_WINDOW_CLASS, nullptr);
  DWORD process = 0;
  if (!running || !GetWindowThreadProcessId(running, &process)) return;
  // Windows lets a program take the foreground only when the one the user just started, this
  // one, hands it over.
  AllowSetForegroundWindow(process);
  PostMessageA(running, COME_FORWARD_MESSAGE, 0, 0);
}

}  // namespace

bool ClaimSessionCopy() {
  // Held for the whole run and released by Windows when the process ends, however it ends.
  SetLastError(ERROR_SUCCESS);
  application.sessionCopy = CreateMutexA(nullptr, FALSE, SESSION_MUTEX_NAME);
  DWORD error = GetLastError();
  // Denied: the mutex exists, made by a copy running with other rights. Any other failure lets
  // this copy run: two copies are better than none.
  if (error == ERROR_ALREADY_EXISTS || error == ERROR_ACCESS_DENIED) {
    AskRunningCopyToComeForward();
    return false;
  }
  OpenSessionWindow();
  return true;
}
