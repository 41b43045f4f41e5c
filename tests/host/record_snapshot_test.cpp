#include "settings/record_snapshot.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "settings/settings_records.h"
#include "support/record_bytes.h"

namespace {

template <typename Record>
void FillPattern(Record& record, uint8_t seed) {
  uint8_t* bytes = reinterpret_cast<uint8_t*>(&record);
  for (size_t i = 0; i < sizeof record; ++i) bytes[i] = static_cast<uint8_t>(seed + i * 13);
}

// The record sits in the middle of other memory so a restore that overruns it shows.
struct GuardedDisplayItem {
  uint32_t before = 0xA5A5A5A5;
  DisplayItemRecord record;
  uint32_t after = 0x5A5A5A5A;
};

TEST(RecordSnapshot, CancelRestoresEveryByteOtherResultsKeepTheEdits) {
  struct Case {
    const char* name;
    intptr_t result;
    bool restored;
  } cases[] = {{"Cancel", 0, true}, {"OK", 1, false}, {"dialog not created", -1, false}};
  for (const Case& c : cases) {
    GuardedDisplayItem guarded;
    FillPattern(guarded.record, 3);
    const std::vector<uint8_t> before = BytesOf(guarded.record);
    std::vector<uint8_t> edited;
    const DisplayItemRecord* beforeDialog = nullptr;

    intptr_t result = RunWithRecordSnapshot(guarded.record, beforeDialog, [&] {
      // The dialog edits the record itself; the padding and reserved bytes are touched here only
      // to prove the restore is whole.
      guarded.record.itemType = 2;
      guarded.record.driveLetter = 'D';
      guarded.record.padding[1] = 0;
      guarded.record.hddUsed = 0;
      guarded.record.reserved[255] ^= 0xFF;
      edited = BytesOf(guarded.record);
      return c.result;
    });

    EXPECT_EQ(result, c.result) << c.name;
    EXPECT_NE(edited, before) << c.name;
    EXPECT_EQ(BytesOf(guarded.record), c.restored ? before : edited) << c.name;
    EXPECT_EQ(guarded.before, 0xA5A5A5A5u) << c.name;
    EXPECT_EQ(guarded.after, 0x5A5A5A5Au) << c.name;
  }
}

TEST(RecordSnapshot, CancelRestoresTheSystemControlRecordTimesIncluded) {
  SystemControlRecord record;
  FillPattern(record, 41);
  const std::vector<uint8_t> before = BytesOf(record);

  const SystemControlRecord* beforeDialog = nullptr;
  RunWithRecordSnapshot(record, beforeDialog, [&] {
    record.backlightMode = 2;
    record.backlightFrom.wHour = 22;
    record.backlightTo.wMinute = 0;
    record.fanRatio = 65;
    return 0;
  });

  EXPECT_EQ(BytesOf(record), before);
}

// While a dialog runs, a save takes the record from before it, also while a second dialog runs
// over the first; once they end, the live record again.
TEST(RecordSnapshot, WhileADialogRunsTheConfirmedRecordIsTheOneFromBefore) {
  SystemControlRecord record;
  FillPattern(record, 41);
  const std::vector<uint8_t> before = BytesOf(record);
  const SystemControlRecord* beforeDialog = nullptr;
  RunWithRecordSnapshot(record, beforeDialog, [&] {
    record.highThreshold = 79;
    RunWithRecordSnapshot(record, beforeDialog, [&] {
      record.fanRatio = 65;
      EXPECT_EQ(BytesOf(ConfirmedRecord(record, beforeDialog)), before) << "second dialog";
      return 1;
    });
    EXPECT_EQ(BytesOf(ConfirmedRecord(record, beforeDialog)), before) << "first dialog";
    return 1;
  });
  EXPECT_EQ(&ConfirmedRecord(record, beforeDialog), &record);
}

}  // namespace
