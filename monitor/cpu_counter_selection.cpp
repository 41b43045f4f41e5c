#include "monitor/cpu_counter_selection.h"

namespace {

// NT 4 has no "_Total" instance; its System object carries the machine-wide figure.
constexpr uint32_t SYSTEM_OBJECT = 2;
constexpr uint32_t TOTAL_PROCESSOR_TIME = 240;
constexpr uint32_t PROCESSOR_OBJECT = 238;
constexpr uint32_t PROCESSOR_TIME = 6;

}  // namespace

OsClass ClassifyOs(const OsVersion& version) {
  if (!version.known) return OS_OTHER;
  if (version.platformId == PLATFORM_WIN32_NT) return version.majorVersion == 4 ? OS_NT4 : OS_NT;
  if (version.platformId == PLATFORM_WIN32_WINDOWS) return OS_WIN9X;
  return OS_OTHER;
}

CpuCounterSelection SelectCpuCounter(OsClass osClass) {
  switch (osClass) {
    case OS_NT4:
      return {true, SYSTEM_OBJECT, TOTAL_PROCESSOR_TIME, ""};
    case OS_NT:
      return {true, PROCESSOR_OBJECT, PROCESSOR_TIME, "_Total"};
    default:
      return {};
  }
}
