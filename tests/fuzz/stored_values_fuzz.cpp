// Stored registry values of any length and content into the two records (mended as they load)
// and the window position, then the settings dialog's clamp, twice, over the system control record
// as stored. Input: three values
// ("Display Item", "System Control", "Window Postion"), each a flags byte (bit 0: present), a
// little-endian 16-bit length and that many bytes (fewer where the input ends).
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "fuzz/fuzz_check.h"
#include "settings/fan_backlight_rules.h"
#include "settings/record_mending.h"
#include "settings/stored_values.h"

namespace {

constexpr uint8_t BEFORE = 0xEE;  // what the record held before the value was applied
constexpr uint8_t GUARD = 0xA5;   // the memory right after the record

struct Input {
  const uint8_t* data;
  size_t size;
};

// The value's bytes sit in an allocation of exactly their length, so a read past them is caught.
struct OwnedValue {
  bool present = false;
  std::vector<uint8_t> bytes;

  StoredValue View() const { return {present, bytes.data(), bytes.size()}; }
};

OwnedValue TakeValue(Input& input) {
  OwnedValue value;
  if (input.size < 3) return value;
  value.present = (input.data[0] & 1) != 0;
  size_t length = std::min<size_t>(input.data[1] | input.data[2] << 8, input.size - 3);
  value.bytes.assign(input.data + 3, input.data + 3 + length);
  input.data += 3 + length;
  input.size -= 3 + length;
  return value;
}

template <typename Record>
struct Guarded {
  Record record;
  uint8_t guard[32];
};

// A missing value gives the defaults; a present one its first bytes over the defaults, mended for
// good (a second mending finds nothing out of range), and nothing after the record changes.
// Returns the record as copied, before the mending.
template <typename Record, typename Apply, typename Mend>
Record CheckApplied(Apply apply, Mend mend, const Record& defaults, const OwnedValue& value) {
  Guarded<Record> target;
  std::memset(&target.record, BEFORE, sizeof target.record);
  std::memset(target.guard, GUARD, sizeof target.guard);
  apply(target.record, value.View());
  Record copied = defaults;
  auto* bytes = reinterpret_cast<uint8_t*>(&copied);
  size_t taken = value.present ? value.bytes.size() : 0;
  for (size_t i = 0; i < sizeof(Record) && i < taken; ++i) bytes[i] = value.bytes[i];
  Record mended = copied;
  mend(mended);
  FUZZ_CHECK(std::memcmp(&target.record, &mended, sizeof mended) == 0 && !mend(mended));
  for (uint8_t byte : target.guard) FUZZ_CHECK(byte == GUARD);
  return copied;
}

void CheckClamped(SystemControlRecord record) {
  ClampSystemControl(record);
  ClampSystemControl(record);
  FUZZ_CHECK(record.lowThreshold >= 10 && record.lowThreshold < record.highThreshold &&
             record.highThreshold <= 80);
  FUZZ_CHECK(record.fanRatio >= 50 && record.fanRatio <= 100);
  for (const RecordTime& time : {record.backlightFrom, record.backlightTo}) {
    FUZZ_CHECK(time.wHour < 24 && time.wMinute < 60);
  }
}

void CheckMoved(const RecordRect& rect, int32_t left, int32_t top) {
  RecordRect moved{7, 7, 7, 7};
  int64_t right = int64_t{left} + (int64_t{rect.right} - rect.left);
  int64_t bottom = int64_t{top} + (int64_t{rect.bottom} - rect.top);
  bool fits =
      right >= INT32_MIN && right <= INT32_MAX && bottom >= INT32_MIN && bottom <= INT32_MAX;
  FUZZ_CHECK(RectMovedTo(rect, left, top, moved) == fits);
  if (fits) {
    FUZZ_CHECK(moved.left == left && moved.top == top && moved.right == right &&
               moved.bottom == bottom);
  }
}

void CheckWindowPosition(const OwnedValue& value) {
  RecordRect rect{1, 2, 3, 4};
  bool taken = ReadStoredWindowRect(value.View(), rect);
  FUZZ_CHECK(taken == (value.present && value.bytes.size() >= 8));
  if (!taken) {
    FUZZ_CHECK(rect.left == 1 && rect.top == 2 && rect.right == 3 && rect.bottom == 4);
    return;
  }
  uint8_t expected[sizeof rect] = {};
  std::memcpy(expected, value.bytes.data(), std::min(sizeof expected, value.bytes.size()));
  FUZZ_CHECK(std::memcmp(&rect, expected, sizeof rect) == 0);
  // The window as created, moved to the stored corner; the stored rectangle moved anywhere.
  CheckMoved(RecordRect{133, 135, 795, 365}, rect.left, rect.top);
  CheckMoved(rect, rect.right, rect.bottom);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Input input{data, size};
  OwnedValue displayItem = TakeValue(input);
  OwnedValue systemControl = TakeValue(input);
  OwnedValue windowPosition = TakeValue(input);
  CheckApplied(ApplyStoredDisplayItem, MendDisplayItem, DefaultDisplayItemRecord(), displayItem);
  CheckClamped(CheckApplied(ApplyStoredSystemControl, MendSystemControl,
                            DefaultSystemControlRecord(), systemControl));
  CheckWindowPosition(windowPosition);
  return 0;
}
