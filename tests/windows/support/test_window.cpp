#include "windows/support/test_window.h"

HWND CreateTestWindow(const char* className, WNDPROC windowProc) {
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = windowProc;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.lpszClassName = className;
  RegisterClassA(&windowClass);
  return CreateWindowA(className, "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                       windowClass.hInstance, nullptr);
}
