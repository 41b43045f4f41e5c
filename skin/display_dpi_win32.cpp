#include "skin/display_dpi.h"

namespace {

using GetDpiForWindowCall = UINT(WINAPI*)(HWND);
using GetSystemMetricsForDpiCall = int(WINAPI*)(int, UINT);

// A function of user32 that this Windows may lack; null then.
template <typename Call>
Call User32Function(const char* name) {
  return reinterpret_cast<Call>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), name)));
}

int32_t SystemDpi() {
  HDC screen = GetDC(nullptr);
  int dpi = GetDeviceCaps(screen, LOGPIXELSX);
  ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : USER_DEFAULT_SCREEN_DPI;
}

}  // namespace

int32_t WindowDpi(HWND window) {
  static const GetDpiForWindowCall getDpiForWindow =
      User32Function<GetDpiForWindowCall>("GetDpiForWindow");
  UINT dpi = getDpiForWindow != nullptr ? getDpiForWindow(window) : 0;
  return dpi > 0 ? static_cast<int32_t>(dpi) : SystemDpi();
}

int32_t SystemMetricAt(int index, int32_t dpi) {
  static const GetSystemMetricsForDpiCall getSystemMetricsForDpi =
      User32Function<GetSystemMetricsForDpiCall>("GetSystemMetricsForDpi");
  if (getSystemMetricsForDpi != nullptr) return getSystemMetricsForDpi(index, dpi);
  return GetSystemMetrics(index);  // at the system's DPI, the only one there is
}
