#include "settings/stored_values.h"

#include <cstring>

#include "log/event_log.h"
#include "settings/record_mending.h"

namespace {

constexpr size_t WINDOW_LEFT_TOP_SIZE = 2 * sizeof(int32_t);

}  // namespace

DisplayItemRecord DefaultDisplayItemRecord() {
  DisplayItemRecord record{};
  record.itemType = ITEM_TEMPERATURE;
  return record;
}

SystemControlRecord DefaultSystemControlRecord() {
  SystemControlRecord record{};
  record.backlightMode = BACKLIGHT_ALWAYS;
  record.fanMode = FAN_MANUAL;
  record.backlightTo.wHour = 23;
  record.backlightTo.wMinute = 59;
  record.backlightTo.wSecond = 59;
  record.lowThreshold = 10;
  record.highThreshold = 80;
  record.fanRatio = 100;
  return record;
}

size_t CopyStoredBytes(void* target, size_t targetSize, const uint8_t* value, size_t valueLength) {
  size_t length = valueLength < targetSize ? valueLength : targetSize;
  if (length == 0) return 0;
  std::memcpy(target, value, length);
  return length;
}

// The defaults go in first, so a value cut short or empty leaves defaults behind it, not zeros:
// an all-zero system control record tells the meter to stop the case fan. Then values no dialog
// could have produced are mended, for the same reason.
void ApplyStoredDisplayItem(DisplayItemRecord& record, const StoredValue& value) {
  record = DefaultDisplayItemRecord();
  if (value.present) CopyStoredBytes(&record, sizeof record, value.bytes, value.length);
  if (MendDisplayItem(record)) LogEvent("Setting \"Display Item\" held an unknown item: mended");
}

void ApplyStoredSystemControl(SystemControlRecord& record, const StoredValue& value) {
  record = DefaultSystemControlRecord();
  if (value.present) CopyStoredBytes(&record, sizeof record, value.bytes, value.length);
  if (MendSystemControl(record)) {
    LogEvent("Setting \"System Control\" held values no dialog can set: mended");
  }
}

bool ReadStoredWindowRect(const StoredValue& value, RecordRect& rect) {
  if (!value.present || value.length < WINDOW_LEFT_TOP_SIZE) return false;
  RecordRect stored{};
  CopyStoredBytes(&stored, sizeof stored, value.bytes, value.length);
  rect = stored;
  return true;
}

bool RectMovedTo(const RecordRect& rect, int32_t left, int32_t top, RecordRect& moved) {
  int64_t right = int64_t{left} + (int64_t{rect.right} - rect.left);
  int64_t bottom = int64_t{top} + (int64_t{rect.bottom} - rect.top);
  if (right < INT32_MIN || right > INT32_MAX || bottom < INT32_MIN || bottom > INT32_MAX) {
    return false;
  }
  moved = RecordRect{left, top, static_cast<int32_t>(right), static_cast<int32_t>(bottom)};
  return true;
}
