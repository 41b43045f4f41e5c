#pragma once
// Keeping the main window within reach on the monitors there are now. Win32 files only.
#include <windows.h>

#include "settings/settings_records.h"

// Moves `window` to where `rect` (a rectangle of its size) may stand by PlaceOnWorkArea.
void MoveOntoWorkArea(HWND window, const RecordRect& rect);

// The same for where `window` is now: after a display change, or a change of the work areas.
void KeepOnWorkArea(HWND window);
