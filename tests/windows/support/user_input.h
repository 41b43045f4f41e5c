#pragma once
// Real mouse and keyboard input, as a user gives it, for end-to-end tests of another process.
// The skin polls the cursor and the button every 20 ms and only while its window is the
// foreground window, so every press here is held for several poll ticks.
#include <windows.h>

// One mouse event at a screen point: a move there, with the MOUSEEVENTF_ button flags given. The
// event carries the point even for a bare press or release: without it Wine takes the pointer from
// X, which may lag behind SetCursorPos.
void SendMouseAt(POINT screen, DWORD buttonFlags);

// Makes `window` the foreground window; false when it did not become so within a second.
bool BringToForeground(HWND window);

// Puts the cursor on a point of `window`'s client area.
void MoveCursorTo(HWND window, int clientX, int clientY);

// A left click on a point of `window`'s client area: move, press, hold, release, and stay long
// enough for the poll to complete the click.
void ClickAt(HWND window, int clientX, int clientY);

// Presses the left button at a point, moves by (dx, dy) in steps while it is held, releases.
void DragFrom(HWND window, int clientX, int clientY, int dx, int dy);

// A right-button press and release at a point of `window`'s client area.
void RightClickAt(HWND window, int clientX, int clientY);

// A key press and release through the input queue of the foreground window.
void PressKey(WORD virtualKey);
