#include "settings/fan_backlight_rules.h"

#include <cstdio>
#include <cstring>

#include "settings/record_field_store.h"

namespace {

constexpr int32_t LOWEST_LOW_THRESHOLD = 10;
constexpr int32_t HIGHEST_HIGH_THRESHOLD = 80;
constexpr int32_t LOWEST_FAN_RATIO = 50;
constexpr int32_t HIGHEST_FAN_RATIO = 100;
constexpr uint16_t PAGE_STEP = 10;

// The time edits read "hh:mm": a caret after the colon works on the minute.
constexpr int32_t LAST_HOUR_POSITION = 2;
constexpr EditSelection HOUR_DIGITS{0, 2};
constexpr EditSelection MINUTE_DIGITS{3, 5};
constexpr EditSelection WHOLE_TEXT{0, -1};

// The ℃ labels, as Unicode (U+2103): set as wide text, the sign shows under any ANSI code page.
constexpr char16_t LOW_THRESHOLD_LABEL[] = u"50% Speed at(\u2103):";
constexpr char16_t HIGH_THRESHOLD_LABEL[] = u"100% Speed at(\u2103):";
constexpr char16_t WARNING_LABEL[] = u"Warning at(\u2103):";
constexpr char16_t FAN_RATIO_LABEL[] = u"Fan Speed Ratio(%):";
constexpr char16_t NO_LABEL[] = u"";

// Steps the low 16 bits of a 32-bit field and keeps its high half.
int32_t StepLowHalf(int32_t value, int32_t scrollCode) {
  const uint32_t bits = static_cast<uint32_t>(value);
  const uint16_t low = StepArrow(static_cast<uint16_t>(bits), scrollCode);
  return static_cast<int32_t>((bits & 0xFFFF0000u) | low);
}

void StepLowHalfOf(int32_t& field, int32_t scrollCode) {
  StoreField(field, StepLowHalf(field, scrollCode));
}

EditSelection StepTime(RecordTime& time, int32_t selectionStart, int32_t scrollCode) {
  if (selectionStart > LAST_HOUR_POSITION) {
    StoreField(time.wMinute, StepArrow(time.wMinute, scrollCode));
    return MINUTE_DIGITS;
  }
  StoreField(time.wHour, StepArrow(time.wHour, scrollCode));
  return HOUR_DIGITS;
}

void WrapTime(RecordTime& time) {
  StoreField(time.wHour, static_cast<uint16_t>(time.wHour % 24));
  StoreField(time.wMinute, static_cast<uint16_t>(time.wMinute % 60));
}

// high - 1 and low + 1 stop at the ends of the 32-bit range: wrapping there would turn a loaded
// high of INT32_MIN into a low of INT32_MAX that no later pass brings back into range.
int32_t SaturatingAdd(int32_t value, int32_t delta) {
  int64_t sum = int64_t{value} + delta;
  if (sum > INT32_MAX) return INT32_MAX;
  if (sum < INT32_MIN) return INT32_MIN;
  return static_cast<int32_t>(sum);
}

}  // namespace

uint16_t StepArrow(uint16_t value, int32_t scrollCode) {
  switch (scrollCode) {
    case ARROW_UP:
      return static_cast<uint16_t>(value + 1);
    case ARROW_DOWN:
      return value != 0 ? static_cast<uint16_t>(value - 1) : value;
    case PAGE_UP:
      return static_cast<uint16_t>(value + PAGE_STEP);
    case PAGE_DOWN:
      return value > PAGE_STEP ? static_cast<uint16_t>(value - PAGE_STEP) : 0;
  }
  return value;
}

EditSelection ApplyArrowClick(SystemControlRecord& record, ArrowTarget target,
                              int32_t selectionStart, int32_t scrollCode) {
  EditSelection selection = WHOLE_TEXT;
  switch (target) {
    case ArrowTarget::BACKLIGHT_FROM:
      selection = StepTime(record.backlightFrom, selectionStart, scrollCode);
      break;
    case ArrowTarget::BACKLIGHT_TO:
      selection = StepTime(record.backlightTo, selectionStart, scrollCode);
      break;
    case ArrowTarget::LOW_THRESHOLD:
      StepLowHalfOf(record.lowThreshold, scrollCode);
      break;
    case ArrowTarget::HIGH_THRESHOLD:
      StepLowHalfOf(record.highThreshold, scrollCode);
      break;
    case ArrowTarget::FAN_RATIO:
      StepLowHalfOf(record.fanRatio, scrollCode);
      break;
  }
  ClampSystemControl(record);
  return selection;
}

void ClampSystemControl(SystemControlRecord& record) {
  WrapTime(record.backlightFrom);
  WrapTime(record.backlightTo);

  // Worked out aside and stored once each: the refresh worker never sees a halfway value.
  int32_t low = record.lowThreshold;
  int32_t high = record.highThreshold;
  if (low >= high) low = SaturatingAdd(high, -1);
  if (low < LOWEST_LOW_THRESHOLD) low = LOWEST_LOW_THRESHOLD;
  if (high <= low) high = SaturatingAdd(low, 1);
  if (high > HIGHEST_HIGH_THRESHOLD) high = HIGHEST_HIGH_THRESHOLD;
  int32_t ratio = record.fanRatio;
  if (ratio <= LOWEST_FAN_RATIO) {
    ratio = LOWEST_FAN_RATIO;
  } else if (ratio > HIGHEST_FAN_RATIO) {
    ratio = HIGHEST_FAN_RATIO;
  }
  StoreField(record.lowThreshold, low);
  StoreField(record.highThreshold, high);
  StoreField(record.fanRatio, ratio);
}

void FormatBacklightTime(const RecordTime& time, char (&text)[BACKLIGHT_TIME_TEXT_SIZE]) {
  const int hour = time.wHour;
  const int minute = time.wMinute;
  snprintf(text, sizeof text, hour < 10 ? "0%d:" : "%d:", hour);
  const size_t used = strnlen(text, sizeof text);
  snprintf(text + used, sizeof text - used, minute < 10 ? "0%d" : "%d", minute);
}

FanValueRows FanValueRowsFor(int32_t fanMode) {
  switch (fanMode) {
    case FAN_OFF:
      return {
          true,
          {{LOW_THRESHOLD_LABEL, false}, {HIGH_THRESHOLD_LABEL, false}, {FAN_RATIO_LABEL, false}}};
    case FAN_MANUAL:
      return {true, {{NO_LABEL, false}, {WARNING_LABEL, true}, {FAN_RATIO_LABEL, true}}};
    case FAN_AUTO:
      return {true, {{LOW_THRESHOLD_LABEL, true}, {HIGH_THRESHOLD_LABEL, true}, {NO_LABEL, false}}};
  }
  return {false, {}};
}
