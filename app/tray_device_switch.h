#pragma once
// The tray menu's device choice: moves the link to another meter while the window stays hidden.
// Win32 files only.
#include <cstdint>

// Waits for the refresh pass in progress (when a meter is linked), releases the linked meter,
// links bridge `index` and restarts the RefreshTimer's period.
void SwitchDeviceFromTray(int32_t index);
