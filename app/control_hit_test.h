#pragma once
// The right-button hit test of the main window: a right press over one of the skin's command
// controls (the first four, which issue the commands 0 to 3) opens no window menu. Plain logic.
#include <cstdint>
#include <functional>

#include "skin/control_record.h"

constexpr int32_t COMMAND_CONTROL_COUNT = 4;

struct ScreenPoint {
  int32_t x = 0;
  int32_t y = 0;
};

// One slot of the panel as the hit test sees it: whether it holds a control and, if it does, that
// control's ControlRect in client coordinates.
struct ControlView {
  bool present = false;
  SkinRect rect;
};

// Converts a point of the main window's client area to screen coordinates.
using ClientToScreenPoint = std::function<ScreenPoint(ScreenPoint client)>;

// Whether `cursor` lies over one of the slots 0 to 3 below `controlCount`, each tested by its
// rectangle with both corners converted to the screen; left and top edges count as inside,
// right and bottom as outside. `slots` holds at least min(controlCount, 4) entries.
bool IsOverCommandControl(const ControlView* slots, int32_t controlCount,
                          const ClientToScreenPoint& toScreen, ScreenPoint cursor);
