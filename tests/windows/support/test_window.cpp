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

ForeignWindow::ForeignWindow(RECT place) {
  WNDCLASSA type{};
  type.lpfnWndProc = DefWindowProcA;
  type.hInstance = GetModuleHandleA(nullptr);
  type.lpszClassName = "TorvexTestForeign";
  RegisterClassA(&type);
  window = CreateWindowExA(0, type.lpszClassName, "foreign", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                           place.left, place.top, place.right - place.left,
                           place.bottom - place.top, nullptr, nullptr, type.hInstance, nullptr);
}

ForeignWindow::~ForeignWindow() {
  DestroyWindow(window);
}
