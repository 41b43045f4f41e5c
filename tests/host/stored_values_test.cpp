#include "settings/stored_values.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "settings/settings_records.h"
#include "support/logged_events.h"
#include "support/record_bytes.h"

namespace {

constexpr uint8_t BEFORE = 0xEE;  // what the record held before the value was applied
constexpr uint8_t GUARD = 0xA5;   // the memory right after the record

template <typename Record>
struct Guarded {
  Record record;
  uint8_t guard[32];
};

struct LengthCase {
  const char* name;
  bool present;
  size_t length;
};

// Applies a stored value of each length to a record that held BEFORE everywhere and checks it
// byte for byte: a missing value gives the defaults, a present one replaces only its own length
// (at most the record's size) of the defaults, and nothing after the record changes. The value
// starts with `stored`, a record in range, so that nothing is mended.
template <typename Record, typename Apply>
void CheckLengths(Apply apply, const Record& defaults, const Record& stored,
                  const std::vector<LengthCase>& cases) {
  for (const LengthCase& c : cases) {
    Guarded<Record> target;
    std::memset(&target.record, BEFORE, sizeof target.record);
    std::memset(target.guard, GUARD, sizeof target.guard);
    // Exactly the stored length, so reading past the value trips the address sanitizer.
    std::vector<uint8_t> value = BytePattern(c.length);
    if (c.length > 0) std::memcpy(value.data(), &stored, std::min(c.length, sizeof stored));
    apply(target.record, StoredValue{c.present, value.data(), value.size()});

    std::vector<uint8_t> expected = BytesOf(defaults);
    if (c.present) {
      for (size_t i = 0; i < expected.size() && i < c.length; ++i) expected[i] = value[i];
    }
    EXPECT_EQ(BytesOf(target.record), expected) << c.name;
    for (uint8_t byte : target.guard) ASSERT_EQ(byte, GUARD) << c.name;
  }
}

TEST(StoredValues, DisplayItemDefaultsShowTheTemperatureAndNothingElse) {
  DisplayItemRecord expected{};
  expected.itemType = ITEM_TEMPERATURE;
  EXPECT_EQ(BytesOf(DefaultDisplayItemRecord()), BytesOf(expected));
}

// The 56 bytes a first run saves as "System Control": backlight always on, the manual fan at 100 %,
// thresholds 10 and 80 degrees, the daily window 00:00 to 23:59:59.
TEST(StoredValues, SystemControlDefaultsByteForByte) {
  const std::vector<uint8_t> stored = {
      0,  0, 0, 0, 1,  0, 0, 0, 1,   0, 0,  0,               // panel, backlight, fan
      0,  0, 0, 0, 0,  0, 0, 0, 0,   0, 0,  0, 0,  0, 0, 0,  // from
      0,  0, 0, 0, 0,  0, 0, 0, 23,  0, 59, 0, 59, 0, 0, 0,  // to
      10, 0, 0, 0, 80, 0, 0, 0, 100, 0, 0,  0};              // low, high, ratio
  EXPECT_EQ(BytesOf(DefaultSystemControlRecord()), stored);
}

// The same lengths for both records: missing, empty, a few bytes, and around and far beyond each
// record's size. A short one keeps the defaults after it (fan and backlight on), never zeros.
const std::vector<LengthCase> LENGTHS = {
    {"missing", false, 0},
    {"empty: the defaults", true, 0},
    {"3 bytes", true, 3},
    {"up to the thresholds", true, offsetof(SystemControlRecord, lowThreshold)},
    {"whole system control", true, sizeof(SystemControlRecord)},
    {"57 bytes", true, sizeof(SystemControlRecord) + 1},
    {"whole display item", true, sizeof(DisplayItemRecord)},
    {"293 bytes", true, sizeof(DisplayItemRecord) + 1},
    {"4096 bytes", true, 4096}};

TEST(StoredValues, DisplayItemOfEveryLength) {
  CheckLengths<DisplayItemRecord>(ApplyStoredDisplayItem, DefaultDisplayItemRecord(),
                                  PatternedDisplayItem(1), LENGTHS);
}

TEST(StoredValues, SystemControlOfEveryLength) {
  CheckLengths<SystemControlRecord>(ApplyStoredSystemControl, DefaultSystemControlRecord(),
                                    PatternedSystemControl(), LENGTHS);
}

// Values no dialog could produce are mended as they load, so the meter never gets a fan below the
// dialog's range (a ratio of 0 stops the case fan); every other byte stays as stored.
TEST(StoredValues, ValuesNoDialogCouldProduceAreMended) {
  using Change = void (*)(SystemControlRecord&);
  const struct {
    Change damage, mended;
  } cases[] = {
      {[](auto& r) { r.lowThreshold = r.highThreshold = r.fanRatio = 0; },
       [](auto& r) { r.lowThreshold = 10, r.highThreshold = 11, r.fanRatio = 50; }},
      {[](auto& r) {
         r.fanMode = 7, r.backlightMode = 9, r.lowThreshold = 90, r.highThreshold = 300;
         r.fanRatio = 1000, r.backlightFrom.wHour = 99, r.backlightTo.wMinute = 60;
       },
       [](auto& r) {  // the thresholds settle in two rounds of the dialog's clamp
         r.fanMode = FAN_MANUAL, r.backlightMode = BACKLIGHT_ALWAYS, r.lowThreshold = 79;
         r.highThreshold = 80, r.fanRatio = 100, r.backlightFrom.wHour = 0;
         r.backlightTo.wMinute = 59;
       }},
  };
  for (const auto& c : cases) {
    SystemControlRecord stored = PatternedSystemControl();
    c.damage(stored);
    SystemControlRecord loaded;
    ApplyStoredSystemControl(loaded, StoredValue{true, BytesOf(stored).data(), sizeof stored});
    c.mended(stored);
    EXPECT_EQ(BytesOf(loaded), BytesOf(stored));
    EXPECT_EQ(TakeLoggedEvents(),
              std::vector<std::string>{
                  "Setting \"System Control\" held values no dialog can set: mended"});
  }
  for (int32_t item : {7, -1, INT32_MIN}) {
    DisplayItemRecord stored = PatternedDisplayItem(5);
    stored.itemType = item;
    DisplayItemRecord loaded;
    ApplyStoredDisplayItem(loaded, StoredValue{true, BytesOf(stored).data(), sizeof stored});
    stored.itemType = ITEM_NONE;
    EXPECT_EQ(BytesOf(loaded), BytesOf(stored)) << item;
    EXPECT_EQ(TakeLoggedEvents().size(), 1u) << item;
  }
}

TEST(StoredValues, WindowRect) {
  const int32_t stored[] = {-10, 20, 652, 250, 777};
  struct Case {
    const char* name;
    bool present;
    size_t length;
    bool taken;
    RecordRect rect;
  } cases[] = {
      {"missing", false, sizeof(RecordRect), false, {1, 2, 3, 4}},
      {"empty", true, 0, false, {1, 2, 3, 4}},
      {"left only", true, offsetof(RecordRect, top), false, {1, 2, 3, 4}},
      {"top cut short", true, offsetof(RecordRect, right) - 1, false, {1, 2, 3, 4}},
      {"left and top", true, offsetof(RecordRect, right), true, {-10, 20, 0, 0}},
      {"whole", true, sizeof(RecordRect), true, {-10, 20, 652, 250}},
      {"longer: its first bytes taken", true, sizeof stored, true, {-10, 20, 652, 250}},
  };
  for (const Case& c : cases) {
    std::vector<uint8_t> value(c.length);
    if (c.length > 0) std::memcpy(value.data(), stored, c.length);
    RecordRect rect{1, 2, 3, 4};
    EXPECT_EQ(ReadStoredWindowRect(StoredValue{c.present, value.data(), value.size()}, rect),
              c.taken)
        << c.name;
    EXPECT_EQ(BytesOf(rect), BytesOf(c.rect)) << c.name;
  }
}

TEST(StoredValues, RectMovedKeepsItsSize) {
  RecordRect moved{};
  ASSERT_TRUE(RectMovedTo(RecordRect{133, 135, 795, 365}, -10, 20, moved));
  EXPECT_EQ(BytesOf(moved), BytesOf(RecordRect{-10, 20, 652, 250}));

  EXPECT_FALSE(RectMovedTo(RecordRect{0, 0, 662, 230}, INT32_MAX, 0, moved));
  EXPECT_FALSE(RectMovedTo(RecordRect{0, 0, 662, 230}, 0, INT32_MAX - 100, moved));
  EXPECT_TRUE(RectMovedTo(RecordRect{0, 0, 662, 230}, INT32_MIN, INT32_MIN, moved));
  EXPECT_EQ(moved.right, INT32_MIN + 662);
}

}  // namespace
