#include "windows/support/user_input.h"

namespace {

constexpr DWORD HOLD_MS = 120;  // six poll ticks
// Seen under Wine: a lone injected move over another process's window is now and then taken
// back to the point before about 100 ms later (Wine re-reads the X pointer, which had not
// followed). The same move sent again a little later sticks.
constexpr DWORD MOVE_AGAIN_MS = 50;

POINT ScreenPoint(HWND window, int clientX, int clientY) {
  POINT point{clientX, clientY};
  ClientToScreen(window, &point);
  return point;
}

void MoveTo(POINT screen) {
  SetCursorPos(screen.x, screen.y);
  SendMouseAt(screen, 0);
  Sleep(MOVE_AGAIN_MS);
  SendMouseAt(screen, 0);
}

}  // namespace

void SendMouseAt(POINT screen, DWORD buttonFlags) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dx = MulDiv(screen.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
  input.mi.dy = MulDiv(screen.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
  input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | buttonFlags;
  SendInput(1, &input, sizeof input);
}

bool BringToForeground(HWND window) {
  for (int attempt = 0; attempt < 50; ++attempt) {
    if (GetForegroundWindow() == window) return true;
    SetForegroundWindow(window);
    BringWindowToTop(window);
    Sleep(20);
  }
  return GetForegroundWindow() == window;
}

void MoveCursorTo(HWND window, int clientX, int clientY) {
  MoveTo(ScreenPoint(window, clientX, clientY));
  Sleep(HOLD_MS);
}

void ClickAt(HWND window, int clientX, int clientY) {
  POINT screen = ScreenPoint(window, clientX, clientY);
  MoveTo(screen);
  Sleep(HOLD_MS);
  SendMouseAt(screen, MOUSEEVENTF_LEFTDOWN);
  Sleep(HOLD_MS);
  SendMouseAt(screen, MOUSEEVENTF_LEFTUP);
  Sleep(HOLD_MS);
}

namespace {

// One press-move-release; true when the window followed the pointer.
bool TryDrag(HWND window, POINT start, int dx, int dy) {
  RECT before{};
  GetWindowRect(window, &before);
  MoveTo(start);
  Sleep(HOLD_MS);
  SendMouseAt(start, MOUSEEVENTF_LEFTDOWN);
  Sleep(HOLD_MS);
  const int steps = 10;
  POINT at = start;
  for (int step = 1; step <= steps; ++step) {
    at = {start.x + dx * step / steps, start.y + dy * step / steps};
    SetCursorPos(at.x, at.y);
    SendMouseAt(at, 0);
    Sleep(30);
  }
  // On a busy machine the window's move loop may start after the last step: nudge the pointer
  // around the end point until the window has followed (or a while has passed), then release.
  DWORD started = GetTickCount();
  bool followed = false;
  while (!followed && GetTickCount() - started < 2000) {
    SendMouseAt({at.x + 1, at.y}, 0);
    Sleep(30);
    SetCursorPos(at.x, at.y);
    SendMouseAt(at, 0);
    Sleep(30);
    RECT now{};
    GetWindowRect(window, &now);
    followed = now.left - before.left == dx && now.top - before.top == dy;
  }
  SendMouseAt(at, MOUSEEVENTF_LEFTUP);
  Sleep(HOLD_MS);
  RECT after{};
  GetWindowRect(window, &after);
  return after.left != before.left || after.top != before.top;
}

}  // namespace

void DragFrom(HWND window, int clientX, int clientY, int dx, int dy) {
  // Under heavy load Wine now and then misses the start of a move loop; a user would simply
  // drag again, and so does this.
  for (int attempt = 0; attempt < 3; ++attempt)
    if (TryDrag(window, ScreenPoint(window, clientX, clientY), dx, dy)) return;
}

void RightClickAt(HWND window, int clientX, int clientY) {
  POINT screen = ScreenPoint(window, clientX, clientY);
  MoveTo(screen);
  Sleep(HOLD_MS);
  SendMouseAt(screen, MOUSEEVENTF_RIGHTDOWN);
  Sleep(40);
  SendMouseAt(screen, MOUSEEVENTF_RIGHTUP);
  Sleep(HOLD_MS);
}

void PressKey(WORD virtualKey) {
  INPUT inputs[2] = {};
  inputs[0].type = INPUT_KEYBOARD;
  inputs[0].ki.wVk = virtualKey;
  inputs[1] = inputs[0];
  inputs[1].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(2, inputs, sizeof inputs[0]);
  Sleep(HOLD_MS);
}
