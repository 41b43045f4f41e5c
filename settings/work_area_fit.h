#pragma once
// Keeping a window wholly on a monitor's work area (the monitor less its taskbar). Plain logic;
// rectangles in screen pixels, right and bottom just outside.
#include "settings/settings_records.h"

// `window` moved the least way that puts it wholly inside `workArea`, keeping its size. Along a
// side where it is larger than the area its left or top edge goes to the area's, so that a dialog
// taller than the screen shows its caption and can still be moved.
RecordRect FitIntoWorkArea(const RecordRect& window, const RecordRect& workArea);
