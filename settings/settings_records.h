#pragma once
// The two settings records and the stored window rectangle, laid out byte for byte as they are
// kept in the registry (little-endian, copied whole), and the one process-wide instance of each.
//
// The UI thread writes the records (load, the settings dialogs, the Cancel restore); the refresh
// worker reads them field by field without a lock. Every field is a naturally aligned 8-, 16- or
// 32-bit value, and every access that crosses threads is one atomic access of that field
// (settings/record_field_store.h), so a pass sees each field old or new.
#include <cstddef>
#include <cstdint>
#include <type_traits>

// What itemType holds: the figure the meter shows.
enum ItemType : int32_t {
  ITEM_NONE = 0,
  ITEM_HDD_SPACE = 1,
  ITEM_CPU_USAGE = 2,
  ITEM_RAM_SPACE = 3,
  ITEM_PAGE_FILE_SPACE = 4,
  ITEM_TEMPERATURE = 5,
  ITEM_FAN_SPEED = 6,
};

// What backlightMode and fanMode hold.
enum BacklightMode : int32_t { BACKLIGHT_OFF = 0, BACKLIGHT_ALWAYS = 1, BACKLIGHT_WINDOW = 2 };
enum FanMode : int32_t { FAN_OFF = 0, FAN_MANUAL = 1, FAN_AUTO = 2 };

// Eight 16-bit members in the order of the Win32 SYSTEMTIME, so the record can be handed to the
// time calls as it is. Only wHour and wMinute carry meaning.
struct RecordTime {
  uint16_t wYear;
  uint16_t wMonth;
  uint16_t wDayOfWeek;
  uint16_t wDay;
  uint16_t wHour;
  uint16_t wMinute;
  uint16_t wSecond;
  uint16_t wMilliseconds;
};

// Which figure the meter shows, and the options of that figure.
struct DisplayItemRecord {
  int32_t itemType;  // 0 None .. 6 Fan Speed, see ItemType
  int32_t fanOption;
  uint8_t driveLetter;  // upper-case ASCII letter of the "HDD Space" disk, 0 when none was chosen
  uint8_t padding[3];   // never written by us; saved and loaded as they are
  int32_t hddUsed;      // non-zero: used space, 0: available space
  int32_t hddOption;
  int32_t ramUsed;
  int32_t ramOption;
  int32_t pageUsed;
  int32_t pageOption;
  uint8_t reserved[256];
};

// The backlight schedule, the fan mode, the fan thresholds and the manual fan ratio.
struct SystemControlRecord {
  int32_t panelMode;      // 0 to 2; kept, saved and loaded, acted on by nothing
  int32_t backlightMode;  // see BacklightMode
  int32_t fanMode;        // see FanMode
  RecordTime backlightFrom;
  RecordTime backlightTo;
  int32_t lowThreshold;   // degrees Celsius at which "Auto" runs the fan at 50%
  int32_t highThreshold;  // degrees Celsius at which "Auto" runs the fan at 100%
  int32_t fanRatio;       // percent, used by "Manual"
};

// The main window's outer rectangle in screen coordinates, in the order of the Win32 RECT.
struct RecordRect {
  int32_t left;
  int32_t top;
  int32_t right;
  int32_t bottom;

  bool operator==(const RecordRect&) const = default;
};

constexpr size_t DISPLAY_ITEM_RECORD_SIZE = 292;
constexpr size_t SYSTEM_CONTROL_RECORD_SIZE = 56;
constexpr size_t RECORD_RECT_SIZE = 16;

static_assert(std::is_standard_layout_v<RecordTime> && std::is_trivially_copyable_v<RecordTime>);
static_assert(sizeof(RecordTime) == 16);
static_assert(offsetof(RecordTime, wHour) == 8 && offsetof(RecordTime, wMinute) == 10);
static_assert(offsetof(RecordTime, wSecond) == 12 && offsetof(RecordTime, wMilliseconds) == 14);

static_assert(std::is_standard_layout_v<DisplayItemRecord>);
static_assert(std::is_trivially_copyable_v<DisplayItemRecord>);
static_assert(sizeof(DisplayItemRecord) == DISPLAY_ITEM_RECORD_SIZE);
static_assert(offsetof(DisplayItemRecord, itemType) == 0);
static_assert(offsetof(DisplayItemRecord, fanOption) == 4);
static_assert(offsetof(DisplayItemRecord, driveLetter) == 8);
static_assert(offsetof(DisplayItemRecord, padding) == 9);
static_assert(offsetof(DisplayItemRecord, hddUsed) == 12);
static_assert(offsetof(DisplayItemRecord, hddOption) == 16);
static_assert(offsetof(DisplayItemRecord, ramUsed) == 20);
static_assert(offsetof(DisplayItemRecord, ramOption) == 24);
static_assert(offsetof(DisplayItemRecord, pageUsed) == 28);
static_assert(offsetof(DisplayItemRecord, pageOption) == 32);
static_assert(offsetof(DisplayItemRecord, reserved) == 36);

static_assert(std::is_standard_layout_v<SystemControlRecord>);
static_assert(std::is_trivially_copyable_v<SystemControlRecord>);
static_assert(sizeof(SystemControlRecord) == SYSTEM_CONTROL_RECORD_SIZE);
static_assert(offsetof(SystemControlRecord, panelMode) == 0);
static_assert(offsetof(SystemControlRecord, backlightMode) == 4);
static_assert(offsetof(SystemControlRecord, fanMode) == 8);
static_assert(offsetof(SystemControlRecord, backlightFrom) == 12);
static_assert(offsetof(SystemControlRecord, backlightFrom) + offsetof(RecordTime, wHour) == 20);
static_assert(offsetof(SystemControlRecord, backlightTo) == 28);
static_assert(offsetof(SystemControlRecord, backlightTo) + offsetof(RecordTime, wSecond) == 40);
static_assert(offsetof(SystemControlRecord, lowThreshold) == 44);
static_assert(offsetof(SystemControlRecord, highThreshold) == 48);
static_assert(offsetof(SystemControlRecord, fanRatio) == 52);

static_assert(std::is_standard_layout_v<RecordRect> && std::is_trivially_copyable_v<RecordRect>);
static_assert(sizeof(RecordRect) == RECORD_RECT_SIZE);
static_assert(offsetof(RecordRect, left) == 0 && offsetof(RecordRect, top) == 4);
static_assert(offsetof(RecordRect, right) == 8 && offsetof(RecordRect, bottom) == 12);

// The process-wide settings: all zero at process start, filled by LoadSettings.
struct Settings {
  DisplayItemRecord displayItem;
  SystemControlRecord systemControl;
  // While a settings dialog is open, its record as it was before the dialog: what the user last
  // confirmed, and so what a quit in the meantime saves. Null while no dialog has it open.
  const DisplayItemRecord* displayItemBeforeDialog = nullptr;
  const SystemControlRecord* systemControlBeforeDialog = nullptr;
};

extern Settings settings;
