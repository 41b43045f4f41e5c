#include "windows/support/condition_wait.h"

#include <windows.h>

namespace {

constexpr DWORD POLL_MS = 5;

void DispatchPendingMessages() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

}  // namespace

bool WaitForCondition(const std::function<bool()>& done, int timeoutMs) {
  ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(timeoutMs);
  for (;;) {
    DispatchPendingMessages();
    if (done()) return true;
    if (GetTickCount64() >= deadline) return false;
    Sleep(POLL_MS);
  }
}
