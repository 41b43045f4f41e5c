#pragma once
// The About box ("ABOUT" template): F1 and both pop-up menus open it. Win32 files only.
#include <windows.h>

// Runs the box modally, centred over `owner` while that is on screen, else on the desktop.
// Any command closes it; the result is always 1.
INT_PTR RunAboutDialog(HWND owner);
