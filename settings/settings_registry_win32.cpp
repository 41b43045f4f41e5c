#include <windows.h>

#include <cstddef>
#include <vector>

#include "settings/record_field_store.h"
#include "settings/record_snapshot.h"
#include "settings/settings_records.h"
#include "settings/settings_registry.h"
#include "settings/stored_values.h"
#include "settings/value_damage.h"
#include "settings/work_area.h"

namespace {

constexpr const char* SETTINGS_KEY = "Software\\Velquin\\Torvex";
constexpr const char* DISPLAY_ITEM_VALUE = "Display Item";
constexpr const char* SYSTEM_CONTROL_VALUE = "System Control";
// Stored under exactly this name, misspelt as it is: correcting it would lose every saved position.
constexpr const char* WINDOW_POSITION_VALUE = "Window Postion";

static_assert(sizeof(RECT) == sizeof(RecordRect) &&
              offsetof(RECT, top) == offsetof(RecordRect, top));
static_assert(sizeof(SYSTEMTIME) == sizeof(RecordTime) &&
              offsetof(SYSTEMTIME, wHour) == offsetof(RecordTime, wHour) &&
              offsetof(SYSTEMTIME, wMinute) == offsetof(RecordTime, wMinute));

// Reads a value whole into `buffer`, sized by a query first, so a value longer than its record
// never lands in the record itself. Only REG_BINARY is ever written here: a value of another type
// (text or a number put there by hand or by other software) counts as missing. A value that
// changes between the query and the read counts as present with nothing read. With no key, every
// value is missing. A value that is not the `recordSize` bytes of REG_BINARY written is logged.
StoredValue QueryStoredValue(HKEY key, const char* name, std::vector<uint8_t>& buffer,
                             size_t recordSize) {
  if (!key) return {};
  DWORD type = REG_NONE;
  DWORD size = 0;
  if (RegQueryValueExA(key, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return {};
  ReportValueDamage(name, type, size, recordSize);
  if (type != REG_BINARY) return {};
  StoredValue value;
  value.present = true;
  if (size == 0) return value;
  buffer.assign(size, 0);
  DWORD length = size;
  if (RegQueryValueExA(key, name, nullptr, &type, buffer.data(), &length) != ERROR_SUCCESS ||
      type != REG_BINARY) {
    return value;
  }
  value.bytes = buffer.data();
  value.length = length < size ? length : size;
  return value;
}

void MoveToStoredPosition(HWND window, const RecordRect& stored) {
  RECT current;
  if (!GetWindowRect(window, &current)) return;
  RecordRect moved;
  if (!RectMovedTo(RecordRect{current.left, current.top, current.right, current.bottom},
                   stored.left, stored.top, moved)) {
    return;
  }
  // A position saved on a monitor that has since gone, or leaving a sliver on screen, is brought
  // back within reach, as a display change does.
  MoveOntoWorkArea(window, moved);
}

// Writes the value; `result` keeps the first error of the save.
void WriteBinaryValue(HKEY key, const char* name, const void* bytes, DWORD size, LONG& result) {
  LONG written = RegSetValueExA(key, name, 0, REG_BINARY, static_cast<const BYTE*>(bytes), size);
  if (result == ERROR_SUCCESS) result = written;
}

}  // namespace

void LoadSettings(HWND mainWindow) {
  // A key that does not open holds no values: the records get their defaults all the same, not
  // the zeros they start with, which would tell the meter to stop the case fan.
  HKEY key = nullptr;
  if (RegCreateKeyA(HKEY_CURRENT_USER, SETTINGS_KEY, &key) != ERROR_SUCCESS) key = nullptr;
  std::vector<uint8_t> buffer;
  // Worked out aside and stored field by field, as every write the worker may meet is.
  DisplayItemRecord displayItem;
  ApplyStoredDisplayItem(displayItem,
                         QueryStoredValue(key, DISPLAY_ITEM_VALUE, buffer, sizeof displayItem));
  StoreRecord(settings.displayItem, displayItem);
  SystemControlRecord systemControl;
  ApplyStoredSystemControl(
      systemControl, QueryStoredValue(key, SYSTEM_CONTROL_VALUE, buffer, sizeof systemControl));
  StoreRecord(settings.systemControl, systemControl);
  RecordRect stored;
  if (ReadStoredWindowRect(QueryStoredValue(key, WINDOW_POSITION_VALUE, buffer, sizeof(RECT)),
                           stored)) {
    MoveToStoredPosition(mainWindow, stored);
  }
  if (key) RegCloseKey(key);
}

LONG SaveSettings(HWND mainWindow) {
  HKEY key;
  LONG result = RegCreateKeyA(HKEY_CURRENT_USER, SETTINGS_KEY, &key);
  if (result != ERROR_SUCCESS) return result;
  // A dialog still open (the run ending under it: a second quit, log-off, an upgrade) has not
  // been confirmed: its record is saved as it was before the dialog, as Cancel would leave it.
  const DisplayItemRecord& displayItem =
      ConfirmedRecord(settings.displayItem, settings.displayItemBeforeDialog);
  const SystemControlRecord& systemControl =
      ConfirmedRecord(settings.systemControl, settings.systemControlBeforeDialog);
  WriteBinaryValue(key, DISPLAY_ITEM_VALUE, &displayItem, sizeof displayItem, result);
  WriteBinaryValue(key, SYSTEM_CONTROL_VALUE, &systemControl, sizeof systemControl, result);
  RECT rect;
  if (IsWindowVisible(mainWindow) && GetWindowRect(mainWindow, &rect)) {
    WriteBinaryValue(key, WINDOW_POSITION_VALUE, &rect, sizeof rect, result);
  }
  RegCloseKey(key);
  return result;
}
