#pragma once
// What the two settings dialogs share as windows: their place over the main window and dragging
// by the body. Win32 files only.
#include <windows.h>

// Centres the dialog over the main window, whether that is shown or hidden in the tray.
void CenterOverMainWindow(HWND dialog);

// WM_MOUSEMOVE with the left button held drags the dialog as if by its caption.
void DragByBody(HWND dialog, WPARAM mouseKeys);
