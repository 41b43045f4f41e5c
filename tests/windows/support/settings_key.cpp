#include "windows/support/settings_key.h"

#include <windows.h>

namespace {

constexpr const char* SETTINGS_KEY = "Software\\Velquin\\Torvex";

// Gives the key an access list for everyone: every right, after a refusal of the value rights
// when `denied`.
bool SetValueAccess(bool denied) {
  HKEY key;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, SETTINGS_KEY, 0, READ_CONTROL | WRITE_DAC, &key) !=
      ERROR_SUCCESS)
    return false;
  SID_IDENTIFIER_AUTHORITY world = SECURITY_WORLD_SID_AUTHORITY;
  PSID everyone = nullptr;
  AllocateAndInitializeSid(&world, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0, &everyone);
  alignas(DWORD) BYTE buffer[256];
  PACL list = reinterpret_cast<PACL>(buffer);
  InitializeAcl(list, sizeof buffer, ACL_REVISION);
  constexpr DWORD VALUE_RIGHTS = KEY_QUERY_VALUE | KEY_SET_VALUE;
  if (denied) AddAccessDeniedAce(list, ACL_REVISION, VALUE_RIGHTS, everyone);
  AddAccessAllowedAce(list, ACL_REVISION, KEY_ALL_ACCESS, everyone);
  SECURITY_DESCRIPTOR descriptor;
  InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION);
  SetSecurityDescriptorDacl(&descriptor, TRUE, list, FALSE);
  LONG result = RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, &descriptor);
  FreeSid(everyone);
  RegCloseKey(key);
  return result == ERROR_SUCCESS;
}

}  // namespace

void DeleteSettingsKey() {
  SetValueAccess(false);  // a test that denied access may have ended early
  RegDeleteKeyA(HKEY_CURRENT_USER, SETTINGS_KEY);
}

bool DenySettingsValueAccess() {
  return SetValueAccess(true);
}

bool AllowSettingsValueAccess() {
  return SetValueAccess(false);
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
