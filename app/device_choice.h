#pragma once
// Choosing, linking and unlinking meters on the UI thread: at start-up, on F3, from the menus and
// on device changes. Win32 files only.
#include <cstdint>

// Runs the first device search. Returns false when the user cancelled it (the program then ends).
bool ChooseStartupDevice();

// F3 and the window menu: lets the user switch to another idle meter. While a search is on screen
// already, that one comes to the foreground instead.
void ChooseDevice();

// The tray menu's device choice: as ChooseDevice, the link moving while the window stays hidden.
void ChooseDeviceFromTray();

// Every WM_DEVICECHANGE: links a meter when none is, or notices that the linked one is gone.
void HandleDeviceChange();
