#pragma once
// The decisions of the "Fan Speed & Backlight Control" dialog: what an arrow click changes, the
// ranges the record is kept in, and what each control shows. Plain logic over the live record.
#include <cstddef>
#include <cstdint>

#include "settings/settings_records.h"

// The scroll codes that step a value: an arrow click or Up and Down (SB_LINEUP, SB_LINEDOWN), and
// Page Up and Page Down (SB_PAGEUP, SB_PAGEDOWN), which step by ten. Every other code steps
// nothing.
constexpr int32_t ARROW_UP = 0;
constexpr int32_t ARROW_DOWN = 1;
constexpr int32_t PAGE_UP = 2;
constexpr int32_t PAGE_DOWN = 3;

// The value a pair of arrows acts on. For the two times it is the part (hour or minute) that the
// caret of the time's edit sits in.
enum class ArrowTarget { BACKLIGHT_FROM, BACKLIGHT_TO, LOW_THRESHOLD, HIGH_THRESHOLD, FAN_RATIO };

// An edit's selection as EM_SETSEL takes it; (0, -1) is the whole text.
struct EditSelection {
  int32_t start;
  int32_t end;
};

// One arrow message: steps the target as an unsigned 16-bit number (the low half of a 32-bit
// field), then clamps the whole record whatever the code. `selectionStart` is where the time
// edit's selection starts. Returns the selection the edit gets back so that the next click acts
// on the same part: the hour (0, 2), the minute (3, 5) or the whole value.
EditSelection ApplyArrowClick(SystemControlRecord& record, ArrowTarget target,
                              int32_t selectionStart, int32_t scrollCode);

// The up arrow adds 1 (wrapping at 65535), the down arrow subtracts 1 unless the value is 0; the
// page codes do the same by 10, and page down stops at 0.
uint16_t StepArrow(uint16_t value, int32_t scrollCode);

// Wraps the time parts (the up arrow runs 23 to 0 and 59 to 0) and keeps the thresholds and the
// ratio in range: low 10 to 79 and below high, high 11 to 80, ratio 50 to 100. One pass of the
// rules: a record loaded from outside the ranges may need a second one to meet them all, and
// two always do, whatever 32-bit values the thresholds held.
void ClampSystemControl(SystemControlRecord& record);

// The time as the edits show it, "07:05": each part with at least two digits and a value of 100
// or more with all of its digits.
constexpr size_t BACKLIGHT_TIME_TEXT_SIZE = 16;
void FormatBacklightTime(const RecordTime& time, char (&text)[BACKLIGHT_TIME_TEXT_SIZE]);

// A fan value's row: its label, and whether the label, the value and its arrows are enabled.
struct FanValueRow {
  const char16_t* label;
  bool enabled;
};

constexpr int32_t FAN_VALUE_ROWS = 3;  // low threshold, high threshold, fan ratio

// What the three rows show for a fan mode. `known` is false for a mode outside 0 to 2: the rows
// are then left as they are.
struct FanValueRows {
  bool known;
  FanValueRow rows[FAN_VALUE_ROWS];
};

FanValueRows FanValueRowsFor(int32_t fanMode);
