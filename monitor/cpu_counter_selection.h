#pragma once
// Which performance counter measures the CPU on the running system: the counters are read as
// accumulated idle time, found by the title indices of their English names.
#include <cstdint>

enum OsClass : int32_t {
  OS_NT4 = 0,
  OS_NT = 1,
  OS_WIN9X = 2,
  OS_OTHER = 3,
};

constexpr uint32_t PLATFORM_WIN32_WINDOWS = 1;
constexpr uint32_t PLATFORM_WIN32_NT = 2;

struct OsVersion {
  bool known = false;  // false when the version query failed
  uint32_t platformId = 0;
  uint32_t majorVersion = 0;
};

OsClass ClassifyOs(const OsVersion& version);

struct CpuCounterSelection {
  bool supported = false;  // Windows 9x and unknown platforms publish no performance data
  uint32_t objectIndex = 0;
  uint32_t counterIndex = 0;
  const char* instanceName = "";
};

CpuCounterSelection SelectCpuCounter(OsClass osClass);
