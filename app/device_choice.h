#pragma once
// Choosing, linking and unlinking meters on the UI thread: at start-up, on F3 and on device
// changes. Win32 files only.
#include <cstdint>

// Runs the first device search. Returns false when the user cancelled it (the program then ends).
bool ChooseStartupDevice();

// Asks the user for an idle meter other than the linked one: its index, or NO_DEVICE when the
// search was cancelled or found none (then the user has been told).
int32_t SearchForAnotherDevice();

// F3 and the window menu: lets the user switch to another idle meter.
void ChooseDevice();

// Every WM_DEVICECHANGE: links a meter when none is, or notices that the linked one is gone.
void HandleDeviceChange();

// Moves the link to `index` (or to none) once no refresh pass is in progress.
void SwitchLinkedDevice(int index);
