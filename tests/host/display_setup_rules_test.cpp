#include "settings/display_setup_rules.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

DisplayItemRecord PatternRecord() {
  DisplayItemRecord record;
  uint8_t* bytes = reinterpret_cast<uint8_t*>(&record);
  for (size_t i = 0; i < sizeof record; ++i) bytes[i] = static_cast<uint8_t>(7 + i * 29);
  return record;
}

TEST(DisplayOptionStates, EachItemEnablesItsOptionControls) {
  const struct {
    int32_t item;
    bool frame, drive, space;
  } cases[] = {
      {-1, false, false, false},  // no selection
      {0, false, false, false},  {1, true, true, true},    {2, false, false, false},
      {3, true, false, true},    {4, true, false, true},   {5, false, false, false},
      {6, false, false, false},  {7, false, false, false},
  };
  for (const auto& c : cases) {
    DisplayOptionStates states = DisplayOptionStatesFor(c.item);
    EXPECT_EQ(states.additionalSetting, c.frame) << c.item;
    EXPECT_EQ(states.driveChoice, c.drive) << c.item;
    EXPECT_EQ(states.spaceChoice, c.space) << c.item;
  }
}

TEST(UsedFlag, EachSpaceItemHasItsOwnFlag) {
  DisplayItemRecord record = PatternRecord();
  EXPECT_EQ(UsedFlagOf(record, 1), &record.hddUsed);
  EXPECT_EQ(UsedFlagOf(record, 3), &record.ramUsed);
  EXPECT_EQ(UsedFlagOf(record, 4), &record.pageUsed);
  for (int32_t item : {-1, 0, 2, 5, 6, 7}) EXPECT_EQ(UsedFlagOf(record, item), nullptr) << item;
}

TEST(SpaceChoice, StoresTheItemsFlagAndClearsItsOptionAndFanOption) {
  const struct {
    const char* name;
    int32_t item;
    bool used;
    void (*expect)(DisplayItemRecord&);
  } cases[] = {
      {"available with Page File Space", 4, false,
       [](DisplayItemRecord& r) { r.pageUsed = 0, r.pageOption = 0, r.fanOption = 0; }},
      {"used with HDD Space", 1, true,
       [](DisplayItemRecord& r) { r.hddUsed = 1, r.hddOption = 0, r.fanOption = 0; }},
      {"used with RAM Space", 3, true,
       [](DisplayItemRecord& r) { r.ramUsed = 1, r.ramOption = 0, r.fanOption = 0; }},
      {"CPU Usage has no flag", 2, true, nullptr},
      {"no selection", -1, false, nullptr},
  };
  for (const auto& c : cases) {
    DisplayItemRecord record = PatternRecord();
    DisplayItemRecord expected = record;
    if (c.expect) c.expect(expected);
    StoreSpaceChoice(record, c.item, c.used);
    EXPECT_EQ(std::memcmp(&record, &expected, sizeof record), 0) << c.name;
  }
}

// "HDD Space" over the fixed disks C, E and Z shows the record's disk, in either case, else the
// first one, which the record then takes; an empty list shows none.
TEST(DriveSelection, TheRecordsDiskOrTheFirstOne) {
  const uint8_t drives[] = {'C', 'E', 'Z'};
  const struct {
    uint8_t letter;
    DriveSelection shown;
  } cases[] = {
      {'E', {1, false}}, {'z', {2, false}}, {0, {0, true}}, {'D', {0, true}}, {0xFF, {0, true}}};
  for (const auto& c : cases) {
    DriveSelection shown = DriveSelectionForHddSpace(drives, 3, c.letter);
    EXPECT_EQ(shown.entry, c.shown.entry) << +c.letter;
    EXPECT_EQ(shown.storeLetter, c.shown.storeLetter) << +c.letter;
  }
  EXPECT_EQ(DriveSelectionForHddSpace(drives, 0, 'C').entry, -1);
}

}  // namespace
