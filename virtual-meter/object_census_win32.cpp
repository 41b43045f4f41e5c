#include "virtual-meter/object_census_win32.h"

#include <windows.h>
// windows.h first: psapi.h relies on its types.
#include <psapi.h>

#include <cwchar>

namespace vmeter {

namespace {

// Wine's GetGuiResources and GetProcessHandleCount are stubs that report nothing. There the
// tables are probed instead: Wine accepts a handle given as a bare table position. The limits are
// far above what the program holds, so a leak shows long before a count could stop at one.
constexpr UINT_PTR GDI_TABLE_SIZE = 0x10000;
constexpr UINT_PTR FIRST_USER_HANDLE = 0x20;  // USER handles: 0x20 + 2 * position
constexpr UINT_PTR USER_POSITIONS = 0x2000;
constexpr UINT_PTR KERNEL_HANDLE_LIMIT = 0x10000;  // kernel handles: multiples of 4

int64_t ProbeGdiObjects() {
  int64_t count = 0;
  for (UINT_PTR index = 1; index < GDI_TABLE_SIZE; ++index) {
    if (GetObjectType(reinterpret_cast<HGDIOBJ>(index)) != 0) ++count;
  }
  return count;
}

bool IsOwnWindow(HWND window) {
  DWORD process = 0;
  return IsWindow(window) && GetWindowThreadProcessId(window, &process) &&
         process == GetCurrentProcessId();
}

bool IsIconOrCursor(HICON icon) {
  ICONINFO info{};
  if (!GetIconInfo(icon, &info)) return false;
  if (info.hbmMask) DeleteObject(info.hbmMask);
  if (info.hbmColor) DeleteObject(info.hbmColor);
  return true;
}

// The USER table is shared by every process of the desktop: only our windows count, and the menus
// and icons of other processes are not valid here.
int64_t ProbeUserObjects() {
  int64_t count = 0;
  for (UINT_PTR position = 0; position < USER_POSITIONS; ++position) {
    HANDLE handle = reinterpret_cast<HANDLE>(FIRST_USER_HANDLE + 2 * position);
    if (IsWindow(static_cast<HWND>(handle))) {
      count += IsOwnWindow(static_cast<HWND>(handle));
    } else if (IsMenu(static_cast<HMENU>(handle)) || IsIconOrCursor(static_cast<HICON>(handle))) {
      ++count;
    }
  }
  return count;
}

// NtQueryObject's answer for ObjectNameInformation: the name, then room for its characters.
struct ObjectName {
  USHORT length;  // in bytes
  USHORT maximumLength;
  const wchar_t* buffer;
  wchar_t characters[512];
};

using QueryObject = LONG(WINAPI*)(HANDLE, int, void*, ULONG, ULONG*);

bool IsWineSpoolerMutex(QueryObject query, HANDLE handle) {
  static const wchar_t SUFFIX[] = L"\\__WINE_WINSPOOL_MUTEX__";
  constexpr size_t SUFFIX_LENGTH = sizeof SUFFIX / sizeof SUFFIX[0] - 1;
  constexpr int OBJECT_NAME_INFORMATION = 1;
  ObjectName name{};
  if (!query || query(handle, OBJECT_NAME_INFORMATION, &name, sizeof name, nullptr) != 0) {
    return false;
  }
  size_t length = name.length / sizeof(wchar_t);
  return length >= SUFFIX_LENGTH &&
         std::wmemcmp(name.buffer + length - SUFFIX_LENGTH, SUFFIX, SUFFIX_LENGTH) == 0;
}

void ProbeKernelHandles(ObjectCensus& census) {
  auto query = reinterpret_cast<QueryObject>(
      reinterpret_cast<void (*)()>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQueryObject")));
  for (UINT_PTR value = 4; value < KERNEL_HANDLE_LIMIT; value += 4) {
    HANDLE handle = reinterpret_cast<HANDLE>(value);
    DWORD flags = 0;
    if (!GetHandleInformation(handle, &flags)) continue;
    ++census.handles;
    if (IsWineSpoolerMutex(query, handle)) ++census.wineSpoolerMutexes;
  }
}

int64_t CountGuiObjects(DWORD kind, int64_t (*probe)()) {
  SetLastError(0);
  DWORD count = GetGuiResources(GetCurrentProcess(), kind);
  if (count != 0 || GetLastError() != ERROR_CALL_NOT_IMPLEMENTED) return count;
  return probe();
}

void CountKernelHandles(ObjectCensus& census) {
  DWORD count = 0;
  if (GetProcessHandleCount(GetCurrentProcess(), &count) && count != 0) {
    census.handles = count;
    return;
  }
  ProbeKernelHandles(census);
}

}  // namespace

ObjectCensus CountProcessObjects() {
  ObjectCensus census;
  CountKernelHandles(census);
  census.gdi = CountGuiObjects(GR_GDIOBJECTS, ProbeGdiObjects);
  census.user = CountGuiObjects(GR_USEROBJECTS, ProbeUserObjects);
  PROCESS_MEMORY_COUNTERS memory{};
  memory.cb = sizeof memory;
  if (K32GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof memory)) {
    // PagefileUsage is the private memory committed, the figure a leak makes grow.
    census.privateKb = static_cast<int64_t>(memory.PagefileUsage / 1024);
    census.workingSetKb = static_cast<int64_t>(memory.WorkingSetSize / 1024);
  }
  return census;
}

}  // namespace vmeter
