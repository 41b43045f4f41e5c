#include "windows/support/settings_key.h"

#include <windows.h>

namespace {
constexpr const char* SETTINGS_KEY = "Software\\Velquin\\Torvex";
}

void DeleteSettingsKey() {
  RegDeleteKeyA(HKEY_CURRENT_USER, SETTINGS_KEY);
}

bool SettingsKeyExists() {
  HKEY key;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, SETTINGS_KEY, 0, KEY_READ, &key) != ERROR_SUCCESS)
    return false;
  RegCloseKey(key);
  return true;
}

std::optional<std::vector<uint8_t>> ReadSettingsValue(const char* name, unsigned long* type) {
  HKEY key;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, SETTINGS_KEY, 0, KEY_READ, &key) != ERROR_SUCCESS)
    return std::nullopt;
  DWORD size = 0;
  DWORD valueType = 0;
  std::optional<std::vector<uint8_t>> bytes;
  if (RegQueryValueExA(key, name, nullptr, &valueType, nullptr, &size) == ERROR_SUCCESS) {
    std::vector<uint8_t> data(size);
    if (RegQueryValueExA(key, name, nullptr, &valueType, data.data(), &size) == ERROR_SUCCESS) {
      data.resize(size);
      bytes = data;
    }
  }
  if (type) *type = valueType;
  RegCloseKey(key);
  return bytes;
}

static_assert(BINARY_VALUE == REG_BINARY);

bool WriteSettingsValue(const char* name, const void* data, size_t size, unsigned long type) {
  HKEY key;
  if (RegCreateKeyA(HKEY_CURRENT_USER, SETTINGS_KEY, &key) != ERROR_SUCCESS) return false;
  LONG written =
      RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), static_cast<DWORD>(size));
  RegCloseKey(key);
  return written == ERROR_SUCCESS;
}
