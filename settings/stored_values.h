#pragma once
// How the values found under the settings key become the records and the window position.
// Records are raw images: no version and no checksum; values out of range are mended on load
// (settings/record_mending.h).
#include <cstddef>
#include <cstdint>

#include "settings/settings_records.h"

// A registry value as found: missing (or unreadable, or not of the binary type the program
// writes), or present with `length` bytes. A present value of length 0 has no bytes.
struct StoredValue {
  bool present = false;
  const uint8_t* bytes = nullptr;
  size_t length = 0;
};

// "Temperature" and nothing else.
DisplayItemRecord DefaultDisplayItemRecord();

// Backlight always on, manual fan at 100%, thresholds 10 and 80, and a backlight window of
// 00:00 to 23:59:59 for when the user switches to "On From".
SystemControlRecord DefaultSystemControlRecord();

// Copies the first min(valueLength, targetSize) bytes of a stored value over the target and
// leaves the rest of the target as it was. A longer value gives its first bytes; nothing beyond
// targetSize is ever written. Returns the number of bytes copied.
size_t CopyStoredBytes(void* target, size_t targetSize, const uint8_t* value, size_t valueLength);

// The record gets the defaults, then a present value is copied over them as above: a value
// shorter than the record (an older record, or a damaged one) keeps the defaults of the rest, and
// one of length 0 leaves the defaults whole. Last, the record is mended.
void ApplyStoredDisplayItem(DisplayItemRecord& record, const StoredValue& value);
void ApplyStoredSystemControl(SystemControlRecord& record, const StoredValue& value);

// The rectangle of a stored "Window Postion", of which only left and top are used. A value too
// short to hold both (under 8 bytes, length 0 included) gives none, so the window stays where it
// was created rather than at a position half made up.
bool ReadStoredWindowRect(const StoredValue& value, RecordRect& rect);

// `rect` moved so its top-left corner is (left, top), its size kept. False when the moved
// rectangle would not fit the 32-bit coordinate range (a stored position far out of any screen).
bool RectMovedTo(const RecordRect& rect, int32_t left, int32_t top, RecordRect& moved);
