#include "windows/support/user_input.h"

#include "windows/support/condition_wait.h"

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

bool IsMovingWindow(HWND window) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  return GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info) &&
         (info.flags & GUI_INMOVESIZE) != 0;
}

void PressAt(HWND window, int clientX, int clientY) {
  POINT screen = ScreenPoint(window, clientX, clientY);
  MoveTo(screen);
  Sleep(HOLD_MS);
  SendMouseAt(screen, MOUSEEVENTF_LEFTDOWN);
}

RECT DragFrom(HWND window, int clientX, int clientY, int dx, int dy) {
  const POINT press = ScreenPoint(window, clientX, clientY);
  RECT before{};
  GetWindowRect(window, &before);
  PressAt(window, clientX, clientY);
  // A dialog starts its move on the first pointer move with the button held (the skin's poll on
  // the press itself), and Wine may or may not add a move of its own after the press: the loop
  // may measure from the press point or from this one. A move down by PROBE pixels then shows
  // once the loop has followed it, wherever it measures from; the drag is counted from there.
  // The pointer rests after the probe, so it is sent as every resting move is: twice, or Wine may
  // take it back and the window with it.
  constexpr int PROBE = 5;
  SendMouseAt({press.x + 1, press.y}, 0);
  WaitUntil([&] { return IsMovingWindow(window); });
  const POINT start = {press.x + 1, press.y + PROBE};
  MoveTo(start);
  RECT loopStart{};
  WaitUntil(
      [&] { return GetWindowRect(window, &loopStart) && loopStart.top - before.top == PROBE; });
  const int steps = 10;
  POINT at = start;
  for (int step = 1; step <= steps; ++step) {
    at = {start.x + dx * step / steps, start.y + dy * step / steps};
    SendMouseAt(at, 0);
    Sleep(30);
  }
  SendMouseAt(at, MOUSEEVENTF_LEFTUP);
  WaitUntil([&] { return !IsMovingWindow(window); });
  return loopStart;
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

void PressChord(WORD modifier, WORD key) {
  INPUT inputs[4] = {};
  for (INPUT& input : inputs) input.type = INPUT_KEYBOARD;
  inputs[0].ki.wVk = modifier;
  inputs[1].ki.wVk = key;
  inputs[2].ki.wVk = key;
  inputs[2].ki.dwFlags = KEYEVENTF_KEYUP;
  inputs[3].ki.wVk = modifier;
  inputs[3].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(4, inputs, sizeof inputs[0]);
  Sleep(HOLD_MS);
}
