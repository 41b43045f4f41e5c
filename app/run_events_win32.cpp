#include "app/run_events.h"

#include <cstdio>
#include <cstring>

#include "log/event_log.h"
#include "skin/skin_file.h"

namespace {

void ReadProgramPath(char* path, DWORD size) {
  DWORD length = GetModuleFileNameA(nullptr, path, size);
  if (length == 0 || length >= size) path[0] = '\0';
}

// "1.0.0.1" from the fixed part of the VERSIONINFO, or "(no version)".
void ReadProgramVersion(const char* path, char* version, size_t size) {
  snprintf(version, size, "(no version)");
  DWORD ignored = 0;
  DWORD infoSize = GetFileVersionInfoSizeA(path, &ignored);
  if (infoSize == 0) return;
  char info[4096];
  if (infoSize > sizeof info || !GetFileVersionInfoA(path, 0, infoSize, info)) return;
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT fixedSize = 0;
  if (!VerQueryValueA(info, "\\", reinterpret_cast<void**>(&fixed), &fixedSize) ||
      fixedSize < sizeof *fixed) {
    return;
  }
  snprintf(version, size, "%u.%u.%u.%u", static_cast<unsigned>(HIWORD(fixed->dwFileVersionMS)),
           static_cast<unsigned>(LOWORD(fixed->dwFileVersionMS)),
           static_cast<unsigned>(HIWORD(fixed->dwFileVersionLS)),
           static_cast<unsigned>(LOWORD(fixed->dwFileVersionLS)));
}

// "Windows 10.0.19045" with its service pack, and under Wine " (Wine 10.0)": a fault seen only
// under Wine is then told from one of Windows.
void ReadWindowsVersion(char* text, size_t size) {
  OSVERSIONINFOEXA version{};
  version.dwOSVersionInfoSize = sizeof version;
  if (!GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&version))) {
    snprintf(text, size, "Windows (version unknown)");
    return;
  }
  int length = snprintf(text, size, "Windows %lu.%lu.%lu%s%s", version.dwMajorVersion,
                        version.dwMinorVersion, version.dwBuildNumber,
                        version.szCSDVersion[0] ? " " : "", version.szCSDVersion);
  using WineVersion = const char*(CDECL*)();
  HMODULE ntdll = GetModuleHandleA("ntdll.dll");
  FARPROC entry = ntdll ? GetProcAddress(ntdll, "wine_get_version") : nullptr;
  if (!entry || length <= 0 || static_cast<size_t>(length) >= size) return;
  const char* wine = reinterpret_cast<WineVersion>(reinterpret_cast<void (*)()>(entry))();
  snprintf(text + length, size - length, " (Wine %s)", wine);
}

}  // namespace

void LogProgramStart() {
  char path[MAX_PATH];
  ReadProgramPath(path, sizeof path);
  char version[32];
  ReadProgramVersion(path, version, sizeof version);
  char windows[192];
  ReadWindowsVersion(windows, sizeof windows);
  char* lastBackslash = std::strrchr(path, '\\');
  if (lastBackslash) *lastBackslash = '\0';
  LogEvent("Torvex %s started on %s; program folder %s", version, windows, path);
}

void LogSkinFolder(const char* directory) {
  // The skin of the working folder is named relatively: the log tells where that was.
  char folder[MAX_PATH];
  DWORD length = GetFullPathNameA(directory, sizeof folder, folder, nullptr);
  if (length == 0 || length >= sizeof folder) snprintf(folder, sizeof folder, "%s", directory);
  char skinFile[SKIN_NAME_SIZE];
  FormSkinFilePath(folder, skinFile, sizeof skinFile);
  DWORD attributes = GetFileAttributesA(skinFile);
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    LogEvent("Skin file %s not found", skinFile);
    return;
  }
  LogEvent("Skin read from %s", folder);
}

void LogRunEnd(LONG saveResult) {
  if (saveResult == ERROR_SUCCESS) {
    LogEvent("Quit; settings saved");
    return;
  }
  char reason[256] = {};
  DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                                static_cast<DWORD>(saveResult), 0, reason, sizeof reason, nullptr);
  while (length > 0 && (reason[length - 1] == '\r' || reason[length - 1] == '\n' ||
                        reason[length - 1] == ' ' || reason[length - 1] == '.')) {
    reason[--length] = '\0';
  }
  LogEvent("Quit; settings not saved: %s (error %ld)", reason, static_cast<long>(saveResult));
}
