#pragma once
// Where a dialog goes: centred over a window, or on the desktop. Plain logic; rectangles in
// screen pixels, right and bottom just outside.
#include <cstdint>

struct ScreenRect {
  int32_t left = 0;
  int32_t top = 0;
  int32_t right = 0;
  int32_t bottom = 0;
};

struct DialogPosition {
  int32_t x = 0;
  int32_t y = 0;
};

// Centres a dialog of `dialog`'s size over `frame`. Each halving truncates toward zero, so a
// dialog larger than the frame sticks out evenly and may leave the screen.
DialogPosition CentreOverWindow(const ScreenRect& dialog, const ScreenRect& frame);

// Centres a dialog of `dialog`'s size in a desktop of `desktop`'s size; the desktop's own left
// and top are not added, so the box lands centred on the screen whose origin is 0, 0.
DialogPosition CentreOnDesktop(const ScreenRect& dialog, const ScreenRect& desktop);
