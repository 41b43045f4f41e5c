#pragma once
// The settings key "Software\Velquin\Torvex" under HKEY_CURRENT_USER: the two records and the main
// window's position, as REG_BINARY values.

// Fills both records from the key, or with their defaults where a value is missing, and moves the
// main window to its saved position. Needs the published main window; runs before the first
// refresh pass. Does nothing at all when the key cannot be opened or created.
void LoadSettings();

// Writes both records, and the main window's rectangle while the window is visible (hidden in the
// notification area, the position saved before stays). Failures go unreported.
void SaveSettings();
