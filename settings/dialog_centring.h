#pragma once
// Where a dialog goes: centred over a window, or on the desktop. Plain logic; rectangles in
// screen pixels, right and bottom just outside.
#include <cstdint>

#include "settings/settings_records.h"

struct DialogPosition {
  int32_t x = 0;
  int32_t y = 0;
};

// Centres a dialog of `dialog`'s size over `frame`. Each halving truncates toward zero, so a
// dialog larger than the frame sticks out evenly and may leave the screen.
DialogPosition CentreOverWindow(const RecordRect& dialog, const RecordRect& frame);

// Centres a dialog of `dialog`'s size in a desktop of `desktop`'s size; the desktop's own left
// and top are not added, so the box lands centred on the screen whose origin is 0, 0.
DialogPosition CentreOnDesktop(const RecordRect& dialog, const RecordRect& desktop);
