#include "app/meter_status.h"

#include <cstdio>

#include "settings/display_setup_rules.h"

namespace {

ReadoutUnit UnitOf(int32_t itemType) {
  switch (itemType) {
    case ITEM_HDD_SPACE:
    case ITEM_CPU_USAGE:
    case ITEM_RAM_SPACE:
    case ITEM_PAGE_FILE_SPACE:
      return ReadoutUnit::PERCENT;
    case ITEM_TEMPERATURE:
      return ReadoutUnit::DEGREES;
    case ITEM_FAN_SPEED:
      return ReadoutUnit::FAN_SPEED;
  }
  return ReadoutUnit::NONE;  // "None", or a number only a damaged record holds
}

ReadoutFanMode FanModeOf(int32_t fanMode) {
  if (fanMode == FAN_OFF) return ReadoutFanMode::OFF;
  if (fanMode == FAN_MANUAL) return ReadoutFanMode::MANUAL;
  return ReadoutFanMode::AUTO;
}

}  // namespace

bool IsFigureWithoutReading(const PassOutcome& outcome) {
  bool fromReading = outcome.itemType == ITEM_TEMPERATURE ||
                     (outcome.itemType == ITEM_FAN_SPEED && outcome.fanMode == FAN_AUTO);
  return fromReading && outcome.linked && !outcome.temperatureFresh;
}

ReadoutState ReadoutStateOf(const PassOutcome& outcome, bool warning) {
  ReadoutState state;
  // Dashes rather than the 0 the meter got: a disk that cannot be read is not a full disk.
  if (outcome.linked && !outcome.driveUnavailable && !IsFigureWithoutReading(outcome)) {
    std::snprintf(state.figure, sizeof state.figure, "%d", static_cast<int>(outcome.figure));
    state.barPercent = outcome.figure > 100 ? 100 : outcome.figure;
  } else {
    std::snprintf(state.figure, sizeof state.figure, "---");
  }
  state.unit = UnitOf(outcome.itemType);
  state.linked = outcome.linked;
  state.fanMode = FanModeOf(outcome.fanMode);
  state.backlightOn = outcome.backlightOn;
  state.warning = warning;
  return state;
}

void FormatMeterStatus(const PassOutcome& outcome, const char* degreeSign, char* line,
                       size_t size) {
  if (!outcome.linked) {
    std::snprintf(line, size, "No meter linked");
    return;
  }
  if (outcome.driveUnavailable) {
    std::snprintf(line, size, "%s: drive unavailable", DISPLAY_ITEM_NAMES[ITEM_HDD_SPACE]);
    return;
  }
  ReadoutUnit unit = UnitOf(outcome.itemType);
  const char* name = DISPLAY_ITEM_NAMES[unit == ReadoutUnit::NONE ? ITEM_NONE : outcome.itemType];
  if (IsFigureWithoutReading(outcome)) {
    std::snprintf(line, size, "%s: no reading", name);
    return;
  }
  int figure = outcome.figure;
  switch (unit) {
    case ReadoutUnit::NONE:
      std::snprintf(line, size, "%s", name);
      break;
    case ReadoutUnit::DEGREES:
      std::snprintf(line, size, "%s %d %sC", name, figure, degreeSign);
      break;
    case ReadoutUnit::PERCENT:
    case ReadoutUnit::FAN_SPEED:
      std::snprintf(line, size, "%s %d %%", name, figure);
      break;
  }
}

void FormatTrayStatus(const PassOutcome& outcome, const TemperatureWarning& warning,
                      const char* degreeSign, char* line, size_t size) {
  if (warning.raised) {
    FormatWarningLine(warning, degreeSign, line, size);
    return;
  }
  FormatMeterStatus(outcome, degreeSign, line, size);
}
