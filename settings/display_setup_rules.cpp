#include "settings/display_setup_rules.h"

#include <cstdio>

#include "settings/record_field_store.h"

const char* const DISPLAY_ITEM_NAMES[DISPLAY_ITEM_COUNT] = {
    "None", "HDD Space", "CPU Usage", "RAM Space", "Page File Space", "Temperature", "Fan Speed"};

namespace {

// The used flag and the option field of the items that show a space.
struct SpaceFields {
  int32_t DisplayItemRecord::*used;
  int32_t DisplayItemRecord::*option;
};

bool SpaceFieldsOf(int32_t itemIndex, SpaceFields* fields) {
  switch (itemIndex) {
    case ITEM_HDD_SPACE:
      *fields = {&DisplayItemRecord::hddUsed, &DisplayItemRecord::hddOption};
      return true;
    case ITEM_RAM_SPACE:
      *fields = {&DisplayItemRecord::ramUsed, &DisplayItemRecord::ramOption};
      return true;
    case ITEM_PAGE_FILE_SPACE:
      *fields = {&DisplayItemRecord::pageUsed, &DisplayItemRecord::pageOption};
      return true;
  }
  return false;
}

uint8_t UpperCaseLetter(uint8_t letter) {
  return letter >= 'a' && letter <= 'z' ? static_cast<uint8_t>(letter - 'a' + 'A') : letter;
}

}  // namespace

DisplayOptionStates DisplayOptionStatesFor(int32_t itemIndex) {
  switch (itemIndex) {
    case ITEM_HDD_SPACE:
      return {true, true, true};
    case ITEM_RAM_SPACE:
    case ITEM_PAGE_FILE_SPACE:
      return {true, false, true};
  }
  return {false, false, false};
}

const int32_t* UsedFlagOf(const DisplayItemRecord& record, int32_t itemIndex) {
  SpaceFields fields;
  if (!SpaceFieldsOf(itemIndex, &fields)) return nullptr;
  return &(record.*fields.used);
}

void StoreSpaceChoice(DisplayItemRecord& record, int32_t itemIndex, bool used) {
  SpaceFields fields;
  if (!SpaceFieldsOf(itemIndex, &fields)) return;
  StoreField(record.*fields.used, used ? 1 : 0);
  StoreField(record.*fields.option, 0);
  StoreField(record.fanOption, 0);
}

int32_t MatchingDriveEntry(const uint8_t* entryLetters, int32_t count, uint8_t driveLetter) {
  for (int32_t entry = 0; entry < count; ++entry) {
    if (UpperCaseLetter(entryLetters[entry]) == UpperCaseLetter(driveLetter)) return entry;
  }
  return -1;
}

DriveSelection DriveSelectionForHddSpace(const uint8_t* entryLetters, int32_t count,
                                         uint8_t driveLetter) {
  const int32_t entry = MatchingDriveEntry(entryLetters, count, driveLetter);
  if (entry >= 0) return {entry, false};
  if (count <= 0) return {-1, false};
  return {0, true};
}

void FormatDriveEntry(char letter, char (&text)[DRIVE_TEXT_SIZE]) {
  // Shown exactly so, "Driver" and all: users and tests know the list by these texts.
  snprintf(text, sizeof text, "Driver %c", letter);
}

void FormatDriveRoot(char letter, char (&text)[DRIVE_TEXT_SIZE]) {
  snprintf(text, sizeof text, "%c:\\", letter);
}
