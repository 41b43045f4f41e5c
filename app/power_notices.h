#pragma once
// The PC's sleep and wake as the main window hears of them. Win32 files only.
#include <windows.h>

// Asks for the suspend and resume notices also where the PC sleeps in Modern Standby (Windows 8
// and later; elsewhere the call does not exist and nothing changes). They come as
// WM_POWERBROADCAST, like the notices every top-level window gets, so a notice may come twice.
void RegisterPowerNotices(HWND window);
void UnregisterPowerNotices();

// WM_POWERBROADCAST: acts on the suspend and on the wake (either resume notice, once). Every
// event is granted.
LRESULT HandlePowerBroadcast(WPARAM event);
