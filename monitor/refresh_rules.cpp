#include "monitor/refresh_rules.h"

int32_t PercentageOf(uint64_t x, uint64_t total) {
  if (total == 0) return 0;
  double percent = static_cast<double>(x) / static_cast<double>(total) * 100.0 + 0.5;
  // x never exceeds total for a sane query; a query that reports more is held at 100 % so the
  // conversion below always has a value in range.
  if (!(percent < 100.5)) percent = 100.5;
  return static_cast<int32_t>(percent);
}

int32_t SpaceFigure(uint64_t total, uint64_t available, bool showUsed) {
  if (available > total) available = total;
  return PercentageOf(showUsed ? total - available : available, total);
}

int32_t FanSpeedFigure(int32_t fanMode, int32_t temperature, int32_t lowThreshold,
                       int32_t highThreshold, int32_t fanRatio) {
  if (fanMode == FAN_OFF) return 0;
  if (fanMode != FAN_AUTO) return fanRatio;
  if (temperature < lowThreshold) return 50;
  if (temperature >= highThreshold) return 100;
  // Here lowThreshold <= temperature < highThreshold, so the divisor is positive; 64-bit
  // arithmetic keeps thresholds loaded from a damaged record from overflowing.
  int64_t span = int64_t{highThreshold} - lowThreshold;
  int64_t rise = (int64_t{temperature} - lowThreshold) * 50 / span;
  return static_cast<int32_t>(rise + 50);
}

bool IsInsideDailyWindow(int32_t fromMinute, int32_t toMinute, int32_t nowMinute) {
  if (toMinute >= fromMinute) return fromMinute <= nowMinute && nowMinute < toMinute;
  return nowMinute >= fromMinute || nowMinute < toMinute;
}

int32_t MinuteOfDay(int32_t hour, int32_t minute) {
  return hour * 60 + minute;
}

int32_t BacklightState(int32_t backlightMode, int32_t fromMinute, int32_t toMinute,
                       int32_t nowMinute) {
  if (backlightMode == BACKLIGHT_OFF) return 0;
  if (backlightMode == BACKLIGHT_ALWAYS) return 1;
  return IsInsideDailyWindow(fromMinute, toMinute, nowMinute) ? 1 : 0;
}

int32_t FanValue(int32_t fanMode, int32_t fanRatio) {
  if (fanMode == FAN_OFF) return 0;
  if (fanMode == FAN_MANUAL) return fanRatio;
  return 1;
}

int32_t FanModeInEffect(int32_t fanMode) {
  if (fanMode == FAN_OFF || fanMode == FAN_MANUAL) return fanMode;
  return FAN_AUTO;
}
