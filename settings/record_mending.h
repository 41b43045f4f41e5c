#pragma once
// The one place where a record read from storage is mended: values that no dialog could have
// produced are replaced before anything acts on them, so a damaged record never reaches the meter
// (a fan ratio of 0 would stop the case fan). Conservative: a value in range keeps every byte as
// stored, and so do the bytes nothing reads (padding, reserved bytes, the unused time members,
// panelMode). Plain logic.
#include "settings/settings_records.h"

// An itemType outside 0 to 6 becomes "None". Returns whether anything changed.
bool MendDisplayItem(DisplayItemRecord& record);

// backlightMode and fanMode outside 0 to 2 take their defaults; an hour outside 0 to 23 or a
// minute outside 0 to 59 takes the default of its field; the thresholds and the ratio are brought
// into the dialog's ranges (low 10 to 79 and below high, high 11 to 80, ratio 50 to 100) by the
// dialog's own clamp, run until it settles. Returns whether anything changed.
bool MendSystemControl(SystemControlRecord& record);
