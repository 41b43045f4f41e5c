#pragma once
// The settings key of the test prefix's registry, as a test sees it from outside the program.
#include <cstdint>
#include <optional>
#include <vector>

void DeleteSettingsKey();

// The stored bytes of a value under "Software\Velquin\Torvex", or nothing when it is missing.
// `type` receives the registry type.
std::optional<std::vector<uint8_t>> ReadSettingsValue(const char* name,
                                                      unsigned long* type = nullptr);

void WriteSettingsValue(const char* name, const void* data, uint32_t size);
