#include <windows.h>

#include <string>

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

bool ToSystemAnsi(const std::u16string& text, std::string* ansi) {
  ansi->clear();
  if (text.empty()) return true;
  auto wide = reinterpret_cast<const wchar_t*>(text.data());
  auto length = static_cast<int>(text.size());
  int bytes = WideCharToMultiByte(CP_ACP, 0, wide, length, nullptr, 0, nullptr, nullptr);
  if (bytes <= 0) return false;
  ansi->resize(bytes);
  return WideCharToMultiByte(CP_ACP, 0, wide, length, &(*ansi)[0], bytes, nullptr, nullptr) ==
         bytes;
}

bool FromSystemAnsi(const std::string& ansi, std::u16string* text) {
  text->clear();
  if (ansi.empty()) return true;
  auto length = static_cast<int>(ansi.size());
  int units = MultiByteToWideChar(CP_ACP, 0, ansi.data(), length, nullptr, 0);
  if (units <= 0) return false;
  text->resize(units);
  auto wide = reinterpret_cast<wchar_t*>(&(*text)[0]);
  return MultiByteToWideChar(CP_ACP, 0, ansi.data(), length, wide, units) == units;
}

const AnsiCodePage SYSTEM_CODE_PAGE{ToSystemAnsi, FromSystemAnsi};

const CpuUsagePlatform WINDOWS_PLATFORM{ReadOsVersion, QueryPerformanceObjects, ReadSystemTimes,
                                        &SYSTEM_CODE_PAGE};

}  // namespace

int32_t SampleCpuUsage() {
  // Only the RefreshWorker calls this, so the state needs no lock.
  return TakeCpuUsageSample(monitoring.cpuSampler, WINDOWS_PLATFORM);
}
