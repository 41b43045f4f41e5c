#pragma once
// The window's right-button menu: About, the device choice and quitting. Win32 files only.
#include <windows.h>

// WM_RBUTTONDOWN: shows the window menu at the cursor and carries out the chosen item, unless
// the cursor is over one of the skin's command controls. Returns whether the menu was shown;
// when it was not, the press gets no default processing either.
bool ShowWindowMenu(HWND window);
