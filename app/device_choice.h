#pragma once
// Choosing, linking and unlinking meters on the UI thread: at start-up, on F3, from the menus, on
// device changes and across the PC's sleep. Win32 files only.
#include <cstdint>

// Runs the first device search and links the meter found. Returns false when the user cancelled
// it (the program then ends).
bool ChooseStartupDevice();

// F3 and both menus' Choose Device: lets the user switch to another idle meter. While a search is
// on screen already, that one comes to the foreground instead.
void ChooseDevice();

// The one way the link moves to bridge `index`, for every caller: it is opened before the meter
// linked so far is released. False, with the link as it was, when it does not open.
bool SwitchLinkedDevice(int32_t index);

// Every WM_DEVICECHANGE: links a meter when none is, or notices that the linked one is gone.
void HandleDeviceChange();

// The PC is going to sleep, and has woken up (see ApplySuspend and ApplyWake).
void HandleSuspend();
void HandleWake();
