#pragma once
// The decisions of the "Display Information Setup" dialog: the item list, which option controls
// each item enables, and which used flag the space radio buttons stand for.
#include <cstddef>
#include <cstdint>

#include "settings/settings_records.h"

// The item list's texts; an entry's index is the itemType it stores.
constexpr int32_t DISPLAY_ITEM_COUNT = 7;
extern const char* const DISPLAY_ITEM_NAMES[DISPLAY_ITEM_COUNT];

// Which option controls are enabled for the selected item (-1: none selected).
struct DisplayOptionStates {
  bool additionalSetting;  // the "Additional Setting" frame
  bool driveChoice;        // the "Hard Disk Drive:" label and the drive list
  bool spaceChoice;        // the "Used Space" and "Availalbe Space" radio buttons
};

DisplayOptionStates DisplayOptionStatesFor(int32_t itemIndex);

// The used flag that the space radio buttons show and set for an item: hddUsed, ramUsed or
// pageUsed; null for an item that shows no space.
const int32_t* UsedFlagOf(const DisplayItemRecord& record, int32_t itemIndex);

// A click on "Used Space" (`used`) or "Availalbe Space" with `itemIndex` selected: stores the
// item's used flag as 1 or 0 and clears its option field and fanOption, which no control shows.
// An item without a used flag changes nothing.
void StoreSpaceChoice(DisplayItemRecord& record, int32_t itemIndex, bool used);

// The drive list's entry whose letter (`entryLetters`, one per entry in list order) is the
// record's, upper or lower case alike; -1 when none is.
int32_t MatchingDriveEntry(const uint8_t* entryLetters, int32_t count, uint8_t driveLetter);

// What the drive list shows with "HDD Space" chosen: the matching entry or, when none matches (no
// disk ever chosen, or one that is gone), the first fixed disk, whose letter the record then takes
// so that the meter shows a disk rather than nothing. -1, storing nothing, for an empty list.
struct DriveSelection {
  int32_t entry;
  bool storeLetter;
};
DriveSelection DriveSelectionForHddSpace(const uint8_t* entryLetters, int32_t count,
                                         uint8_t driveLetter);

// The drive list's entry for a fixed disk, "Driver C", and the disk's root path, "C:\".
constexpr size_t DRIVE_TEXT_SIZE = 16;
void FormatDriveEntry(char letter, char (&text)[DRIVE_TEXT_SIZE]);
void FormatDriveRoot(char letter, char (&text)[DRIVE_TEXT_SIZE]);
