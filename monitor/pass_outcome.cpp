#include "monitor/pass_outcome.h"

namespace {

// The second parameter: the figure in the low byte, then one bit each for the link and the
// backlight, two bits of fan mode, the temperature's byte, a bit for its freshness and one for a
// disk that cannot be read.
constexpr uint32_t LINKED_BIT = 1u << 8;
constexpr uint32_t BACKLIGHT_BIT = 1u << 9;
constexpr int FAN_MODE_SHIFT = 10;
constexpr uint32_t FAN_MODE_MASK = 3;
constexpr int TEMPERATURE_SHIFT = 12;
constexpr uint32_t FRESH_BIT = 1u << 20;
constexpr uint32_t DRIVE_UNAVAILABLE_BIT = 1u << 21;

}  // namespace

PackedPassOutcome PackPassOutcome(const PassOutcome& outcome) {
  PackedPassOutcome packed;
  packed.first = static_cast<uint32_t>(outcome.itemType);
  packed.second = (static_cast<uint32_t>(outcome.figure) & 0xFF) |
                  (outcome.linked ? LINKED_BIT : 0) | (outcome.backlightOn ? BACKLIGHT_BIT : 0) |
                  (static_cast<uint32_t>(outcome.fanMode) & FAN_MODE_MASK) << FAN_MODE_SHIFT |
                  (static_cast<uint32_t>(outcome.temperature) & 0xFF) << TEMPERATURE_SHIFT |
                  (outcome.temperatureFresh ? FRESH_BIT : 0) |
                  (outcome.driveUnavailable ? DRIVE_UNAVAILABLE_BIT : 0);
  return packed;
}

PassOutcome UnpackPassOutcome(uint32_t first, uint32_t second) {
  PassOutcome outcome;
  outcome.itemType = static_cast<int32_t>(first);
  outcome.figure = static_cast<int32_t>(second & 0xFF);
  outcome.linked = (second & LINKED_BIT) != 0;
  outcome.backlightOn = (second & BACKLIGHT_BIT) != 0;
  outcome.fanMode = static_cast<int32_t>(second >> FAN_MODE_SHIFT & FAN_MODE_MASK);
  outcome.temperature = static_cast<int32_t>(second >> TEMPERATURE_SHIFT & 0xFF);
  outcome.temperatureFresh = (second & FRESH_BIT) != 0;
  outcome.driveUnavailable = (second & DRIVE_UNAVAILABLE_BIT) != 0;
  return outcome;
}
