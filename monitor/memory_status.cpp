#include "monitor/memory_status.h"

MemoryFigures MemoryFiguresOf(const MemoryStatus& status) {
  return {{status.totalPhys, status.availPhys}, {status.totalPageFile, status.availPageFile}};
}
