#pragma once
// The system's memory status as GlobalMemoryStatusEx reports it, and the two figures a refresh
// pass takes from it. Plain logic: the record is laid out as MEMORYSTATUSEX, which the Win32 side
// checks and copies in whole.
#include <cstdint>

#include "monitor/refresh_pass.h"

struct MemoryStatus {
  uint32_t length;
  uint32_t memoryLoad;
  uint64_t totalPhys;
  uint64_t availPhys;
  uint64_t totalPageFile;
  uint64_t availPageFile;
  uint64_t totalVirtual;
  uint64_t availVirtual;
  uint64_t availExtendedVirtual;
};

// The RAM figures from the physical memory's fields, the page file's from the page file's.
MemoryFigures MemoryFiguresOf(const MemoryStatus& status);
