#pragma once
// Where the main window may stand: with at least half of it inside one monitor's work area (the
// monitor less its taskbar). A window left on a monitor that has gone, or showing a sliver at an
// edge, is brought back within reach. Plain logic; rectangles in screen pixels, right and bottom
// just outside.
#include <cstddef>

#include "settings/settings_records.h"

// `window` as it is when at least half of its area lies in one of the `count` work areas; else
// moved, keeping its size, the least way that puts it inside the work area it shares the most
// with, or the nearest one when it shares none. A window larger than that area keeps its top-left
// corner in it. With no work area, `window` as it is.
RecordRect PlaceOnWorkArea(const RecordRect& window, const RecordRect* workAreas, size_t count);

// Where a dialog may stand: `window` moved the least way, keeping its size, that puts it wholly
// inside the work area it shares the most with, or the nearest one when it shares none. Along a
// side where it is larger than that area its left or top edge goes to the area's, so that a dialog
// taller than the screen shows its caption and can still be moved. With no work area, `window`
// as it is.
RecordRect PlaceWhollyOnWorkArea(const RecordRect& window, const RecordRect* workAreas,
                                 size_t count);
