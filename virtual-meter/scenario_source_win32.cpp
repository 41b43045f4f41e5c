#include "virtual-meter/scenario_source_win32.h"

namespace vmeter {

namespace {

constexpr char SCENARIO_VARIABLE[] = "TORVEX_VMETER";
constexpr char SCENARIO_FILE_NAME[] = "vmeter.ini";
// A scenario is a few dozen lines; anything far larger is not one.
constexpr DWORD MAX_SCENARIO_BYTES = 1 << 20;

}  // namespace

std::string FindScenarioPath(HMODULE module) {
  char buffer[MAX_PATH];
  DWORD length = GetEnvironmentVariableA(SCENARIO_VARIABLE, buffer, sizeof buffer);
  if (length > 0 && length < sizeof buffer) return std::string(buffer, length);
  length = GetModuleFileNameA(module, buffer, sizeof buffer);
  if (length == 0 || length >= sizeof buffer) return SCENARIO_FILE_NAME;
  std::string path(buffer, length);
  size_t folderEnd = path.find_last_of("\\/");
  if (folderEnd == std::string::npos) return SCENARIO_FILE_NAME;
  return path.substr(0, folderEnd + 1) + SCENARIO_FILE_NAME;
}

ScenarioStamp ReadScenarioStamp(const std::string& path) {
  ScenarioStamp stamp;
  stamp.path = path;
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return stamp;
  stamp.present = true;
  stamp.size = (uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow;
  stamp.writeTime =
      (uint64_t{data.ftLastWriteTime.dwHighDateTime} << 32) | data.ftLastWriteTime.dwLowDateTime;
  return stamp;
}

bool ReadScenarioFile(const std::string& path, std::string& text) {
  text.clear();
  // Shared every way, so the file can be rewritten or replaced while it is being read.
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD size = GetFileSize(file, nullptr);
  bool read = size != INVALID_FILE_SIZE && size <= MAX_SCENARIO_BYTES;
  if (read && size > 0) {
    text.resize(size);
    DWORD got = 0;
    read = ReadFile(file, &text[0], size, &got, nullptr) && got == size;
    if (!read) text.clear();
  }
  CloseHandle(file);
  return read;
}

}  // namespace vmeter
