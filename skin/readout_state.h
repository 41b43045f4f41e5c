#pragma once
// What a skin's readout shows: the figure's characters, the unit, the bar, the link, the fan mode,
// the backlight and the temperature warning. Plain logic; the application decides it, the readout
// draws it.
#include <cstdint>

#include "skin/readout_layout.h"

// Frames of the Unit strip.
enum class ReadoutUnit : int32_t { NONE = 0, PERCENT = 1, DEGREES = 2, FAN_SPEED = 3 };
// Frames of the FanMode strip.
enum class ReadoutFanMode : int32_t { OFF = 0, MANUAL = 1, AUTO = 2 };

struct ReadoutState {
  // Digits, '-' and ' ' (any other character shows as a blank), placed right-aligned on the
  // skin's digits; a figure with more characters than the skin has digits shows dashes only.
  char figure[READOUT_MAX_DIGITS + 1] = {};
  ReadoutUnit unit = ReadoutUnit::NONE;
  int32_t barPercent = 0;  // held to 0..100 when drawn
  bool linked = false;
  ReadoutFanMode fanMode = ReadoutFanMode::OFF;
  bool backlightOn = false;
  bool warning = false;  // the temperature warning is raised

  bool operator==(const ReadoutState&) const = default;
};
