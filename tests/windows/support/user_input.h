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

// Whether the thread of `window` runs a window move (the system's modal move loop), as a press on
// a caption, or on the bare skin, starts one.
bool IsMovingWindow(HWND window);

// Moves to a point of `window`'s client area and presses the left button there, holding it.
void PressAt(HWND window, int clientX, int clientY);

// Presses the left button at a point, waits for the window move it starts, moves by (dx, dy) in
// steps while the button is held, releases, and waits for the move to end (a move that does not
// end within a few seconds is left to the caller to notice). Returns the window's place when the
// drag began: the window has moved by (dx, dy) from there.
RECT DragFrom(HWND window, int clientX, int clientY, int dx, int dy);

// A right-button press and release at a point of `window`'s client area.
void RightClickAt(HWND window, int clientX, int clientY);

// A key press and release through the input queue of the foreground window.
void PressKey(WORD virtualKey);

// `key` pressed and released while `modifier` (VK_MENU for Alt, say) is held.
void PressChord(WORD modifier, WORD key);
