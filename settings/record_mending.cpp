#include "settings/record_mending.h"

#include <cstring>

#include "settings/fan_backlight_rules.h"
#include "settings/stored_values.h"

namespace {

constexpr int32_t LAST_MODE = 2;  // backlightMode and fanMode run from 0 to 2
constexpr uint16_t HOURS_PER_DAY = 24;
constexpr uint16_t MINUTES_PER_HOUR = 60;
// The clamp settles any thresholds in two passes; a third is room to spare.
constexpr int CLAMP_PASSES = 3;

bool MendMode(int32_t& mode, int32_t fallback) {
  if (mode >= 0 && mode <= LAST_MODE) return false;
  mode = fallback;
  return true;
}

// Each part on its own: a damaged minute does not take a good hour with it.
bool MendTime(RecordTime& time, const RecordTime& fallback) {
  bool mended = false;
  if (time.wHour >= HOURS_PER_DAY) {
    time.wHour = fallback.wHour;
    mended = true;
  }
  if (time.wMinute >= MINUTES_PER_HOUR) {
    time.wMinute = fallback.wMinute;
    mended = true;
  }
  return mended;
}

// With the times in range the clamp changes only thresholds and ratio that break its rules.
bool SettleThresholds(SystemControlRecord& record) {
  const SystemControlRecord before = record;
  for (int pass = 0; pass < CLAMP_PASSES; ++pass) {
    const SystemControlRecord start = record;
    ClampSystemControl(record);
    if (std::memcmp(&start, &record, sizeof record) == 0) break;
  }
  return std::memcmp(&before, &record, sizeof record) != 0;
}

}  // namespace

bool MendDisplayItem(DisplayItemRecord& record) {
  if (record.itemType >= ITEM_NONE && record.itemType <= ITEM_FAN_SPEED) return false;
  record.itemType = ITEM_NONE;
  return true;
}

bool MendSystemControl(SystemControlRecord& record) {
  const SystemControlRecord defaults = DefaultSystemControlRecord();
  bool mended = MendMode(record.backlightMode, defaults.backlightMode);
  mended |= MendMode(record.fanMode, defaults.fanMode);
  mended |= MendTime(record.backlightFrom, defaults.backlightFrom);
  mended |= MendTime(record.backlightTo, defaults.backlightTo);
  mended |= SettleThresholds(record);
  return mended;
}
