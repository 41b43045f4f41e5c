#pragma once
// Keeping the main window and the dialogs within reach on the monitors there are now. Win32 files
// only.
#include <windows.h>

#include <vector>

#include "settings/settings_records.h"

// The work area of every monitor there is now (each monitor less its taskbar).
std::vector<RecordRect> CurrentWorkAreas();

// Moves `window` to where `rect` (a rectangle of its size) may stand by PlaceOnWorkArea.
void MoveOntoWorkArea(HWND window, const RecordRect& rect);

// The same for where `window` is now: after a display change, or a change of the work areas.
void KeepOnWorkArea(HWND window);
