#pragma once
// The settings key of the test prefix's registry, as a test sees it from outside the program.
#include <cstdint>
#include <cstring>
#include <optional>
#include <vector>

void DeleteSettingsKey();
bool SettingsKeyExists();

// Denies everyone reading or writing the key's values (the key stays, and its security can be
// changed back), or allows it again. False when the key is missing or its security stays as it was.
bool DenySettingsValueAccess();
bool AllowSettingsValueAccess();

// The stored bytes of a value under "Software\Velquin\Torvex", or nothing when it is missing.
// `type` receives the registry type.
std::optional<std::vector<uint8_t>> ReadSettingsValue(const char* name,
                                                      unsigned long* type = nullptr);

// Stores a value, binary unless `type` says otherwise (a registry type such as REG_SZ); false when
// the key or the value could not be written.
constexpr unsigned long BINARY_VALUE = 3;  // REG_BINARY
bool WriteSettingsValue(const char* name, const void* data, size_t size,
                        unsigned long type = BINARY_VALUE);

// A stored value as a record: nothing when it is missing or not exactly the record's size.
template <typename Record>
std::optional<Record> ReadSettingsRecord(const char* name) {
  std::optional<std::vector<uint8_t>> bytes = ReadSettingsValue(name);
  if (!bytes || bytes->size() != sizeof(Record)) return std::nullopt;
  Record record;
  std::memcpy(&record, bytes->data(), sizeof record);
  return record;
}
