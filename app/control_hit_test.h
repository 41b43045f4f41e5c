#pragma once
// The right-button hit test of the main window: a right press over one of the skin's command
// controls (the first four, which issue the commands 0 to 3) opens no window menu. Plain logic.
#include <cstddef>
#include <cstdint>
#include <functional>

#include "skin/control_record.h"

constexpr int32_t COMMAND_CONTROL_COUNT = 4;

struct ScreenPoint {
  int32_t x = 0;
  int32_t y = 0;
};

// One slot of the panel as the hit test sees it: the control (null for an empty slot) and the
// length of its text, which sets a TEXT control's width.
struct ControlView {
  const ControlRecord* control = nullptr;
  size_t textLength = 0;
};

// Converts a point of the main window's client area to screen coordinates.
using ClientToScreenPoint = std::function<ScreenPoint(ScreenPoint client)>;

// Whether `cursor` lies over one of the slots 0 to 3 below `controlCount`, each tested by its
// ControlRect with both corners converted to the screen; left and top edges count as inside,
// right and bottom as outside. `slots` holds at least min(controlCount, 4) entries.
bool IsOverCommandControl(const ControlView* slots, int32_t controlCount,
                          const ClientToScreenPoint& toScreen, ScreenPoint cursor);
