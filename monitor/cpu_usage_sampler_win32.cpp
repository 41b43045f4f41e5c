#include <windows.h>

#include "monitor/ansi_code_page.h"
#include "monitor/cpu_usage_sampler.h"
#include "monitor/cpu_usage_sampling.h"
#include "monitor/monitoring.h"

namespace {

OsVersion ReadOsVersion() {
  OSVERSIONINFOA info{};
  info.dwOSVersionInfoSize = sizeof info;
  OsVersion version;
  version.known = GetVersionExA(&info) != FALSE;
  version.platformId = info.dwPlatformId;
  version.majorVersion = info.dwMajorVersion;
  return version;
}

int32_t QueryPerformanceObjects(const char* valueName, uint8_t* data, uint32_t* size) {
  DWORD bytes = *size;
  // The performance key is a pseudo-key: it is never opened, and left unclosed.
  LONG result = RegQueryValueExA(HKEY_PERFORMANCE_DATA, valueName, nullptr, nullptr, data, &bytes);
  *size = bytes;
  return result;
}

uint64_t FileTimeValue(const FILETIME& time) {
  return (uint64_t{time.dwHighDateTime} << 32) | time.dwLowDateTime;
}

bool ReadSystemTimes(SystemTimesSample* sample) {
  FILETIME idle{}, kernel{}, user{};
  if (!GetSystemTimes(&idle, &kernel, &user)) return false;
  *sample = {FileTimeValue(idle), FileTimeValue(kernel), FileTimeValue(user)};
  return true;
}

const CpuUsagePlatform WINDOWS_PLATFORM{ReadOsVersion, QueryPerformanceObjects, ReadSystemTimes,
                                        &SystemCodePage()};

}  // namespace

int32_t SampleCpuUsage() {
  // Only the RefreshWorker calls this, so the state needs no lock.
  return TakeCpuUsageSample(monitoring.cpuSampler, WINDOWS_PLATFORM);
}
