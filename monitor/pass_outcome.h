#pragma once
// What one refresh pass told the meter, for the window to show: the item and its figure, whether
// a meter was linked, the fan mode and the backlight state, and the temperature the meter last
// reported with whether it is fresh. The worker posts it to the UI thread as the two parameters
// of a message, so nothing is shared between the threads.
#include <cstdint>

#include "settings/settings_records.h"

struct PassOutcome {
  int32_t itemType = ITEM_NONE;  // as the pass read it; an unknown number shows nothing
  int32_t figure = 0;            // the byte the value frame carried, 0 to 255
  bool linked = false;           // a meter was linked when the value frame went out
  int32_t fanMode = FAN_OFF;     // the mode in effect: FAN_OFF, FAN_MANUAL or FAN_AUTO
  bool backlightOn = false;
  int32_t temperature = 0;        // the meter's reading, 0 to 255, however old
  bool temperatureFresh = false;  // a packet brought it less than READING_STALE_MS ago
  bool driveUnavailable = false;  // "HDD Space" of a disk that cannot be read: the figure is 0

  bool operator==(const PassOutcome&) const = default;
};

struct PackedPassOutcome {
  uint32_t first = 0;
  uint32_t second = 0;
};

PackedPassOutcome PackPassOutcome(const PassOutcome& outcome);
PassOutcome UnpackPassOutcome(uint32_t first, uint32_t second);
