#include "windows/support/condition_wait.h"

#include <windows.h>

void DispatchPendingMessages() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

bool WaitUntil(const std::function<bool()>& done, int timeoutMs, int pollMs) {
  ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(timeoutMs);
  for (;;) {
    DispatchPendingMessages();
    if (done()) return true;
    if (GetTickCount64() >= deadline) return false;
    Sleep(static_cast<DWORD>(pollMs));
  }
}
