#pragma once
// A settings value found damaged: of another type than the REG_BINARY the program writes, or of
// another size than its record. The program goes on with defaults, and the event log says what it
// found, so that a support conversation can tell why the settings came back. Plain logic.
#include <cstddef>
#include <cstdint>

// The registry's number for REG_BINARY, the only type the program writes.
constexpr uint32_t BINARY_VALUE_TYPE = 3;

// Logs the value's name, its type and size, and what takes the place of what is damaged, when a
// value of `type` and `size` bytes is not the REG_BINARY of `recordSize` bytes it should be.
// Returns whether it was damaged.
bool ReportValueDamage(const char* name, uint32_t type, size_t size, size_t recordSize);
