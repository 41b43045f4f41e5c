#pragma once
// A record's memory as bytes, to compare whole records byte for byte, padding included; bytes of
// a pattern to fill records and stored values with; and records in range made of such bytes.
#include <cstdint>
#include <cstring>
#include <vector>

#include "settings/settings_records.h"

template <typename Record>
std::vector<uint8_t> BytesOf(const Record& record) {
  std::vector<uint8_t> bytes(sizeof record);
  std::memcpy(bytes.data(), &record, sizeof record);
  return bytes;
}

// `length` bytes that differ from their neighbours and from zero at the start, so that a byte
// moved, dropped or left as it was shows.
inline std::vector<uint8_t> BytePattern(size_t length, uint8_t seed = 1) {
  std::vector<uint8_t> bytes(length);
  for (size_t i = 0; i < length; ++i) bytes[i] = static_cast<uint8_t>(seed + i * 7);
  return bytes;
}

// Records in range, as the dialogs write them, with odd bytes where nothing reads (padding,
// reserved bytes, panelMode, the unused time members), so that a byte mended by mistake shows.
inline DisplayItemRecord PatternedDisplayItem(uint8_t seed) {
  DisplayItemRecord record;
  std::memcpy(&record, BytePattern(sizeof record, seed).data(), sizeof record);
  record.itemType = ITEM_RAM_SPACE;
  return record;
}

inline SystemControlRecord PatternedSystemControl() {
  SystemControlRecord record = {7, BACKLIGHT_WINDOW, FAN_MANUAL, {}, {}, 20, 60, 70};
  record.backlightFrom = {2024, 5, 3, 17, 22, 30, 42, 999};
  record.backlightTo = {1, 2, 3, 4, 6, 15, 59, 7};
  return record;
}
