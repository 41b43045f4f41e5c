#pragma once
// The settings key "Software\Velquin\Torvex" under HKEY_CURRENT_USER: the two records and the main
// window's position, as REG_BINARY values. Win32 files only.
#include <windows.h>

// Fills both records from the key, or with their defaults where a value is missing, and moves
// `mainWindow` to its saved position, as far as PlaceOnWorkArea allows. Runs before the first
// refresh pass. A key that cannot be opened or created counts as one without values: the
// defaults, and no move. A value found damaged is named in the event log.
void LoadSettings(HWND mainWindow);

// Writes both records (a record whose dialog is open as it was before the dialog), and the
// rectangle of `mainWindow` while the window is visible (hidden in the notification area, the
// position saved before stays). Returns ERROR_SUCCESS, or the first error met (the other values
// are written all the same).
LONG SaveSettings(HWND mainWindow);
