#include "windows/support/gdi_object_count.h"

#include <windows.h>

namespace {

constexpr UINT_PTR GDI_HANDLE_TABLE_SIZE = 0x10000;

int32_t CountByProbing() {
  int32_t count = 0;
  for (UINT_PTR index = 1; index < GDI_HANDLE_TABLE_SIZE; ++index) {
    if (GetObjectType(reinterpret_cast<HGDIOBJ>(index)) != 0) ++count;
  }
  return count;
}

}  // namespace

int32_t CountGdiObjects() {
  SetLastError(0);
  DWORD count = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
  if (count != 0 || GetLastError() != ERROR_CALL_NOT_IMPLEMENTED) {
    return static_cast<int32_t>(count);
  }
  return CountByProbing();
}
