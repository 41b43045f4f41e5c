#include "app/power_notices.h"

#include "app/application.h"
#include "app/device_choice.h"

namespace {

using RegisterSuspendResume = HPOWERNOTIFY(WINAPI*)(HANDLE recipient, DWORD flags);
using UnregisterSuspendResume = BOOL(WINAPI*)(HPOWERNOTIFY registration);

constexpr DWORD NOTIFY_WINDOW_HANDLE = 0;  // DEVICE_NOTIFY_WINDOW_HANDLE

FARPROC User32Function(const char* name) {
  HMODULE user32 = GetModuleHandleA("user32.dll");
  return user32 ? GetProcAddress(user32, name) : nullptr;
}

}  // namespace

void RegisterPowerNotices(HWND window) {
  auto registerNotices = reinterpret_cast<RegisterSuspendResume>(
      reinterpret_cast<void*>(User32Function("RegisterSuspendResumeNotification")));
  if (registerNotices) application.powerNotices = registerNotices(window, NOTIFY_WINDOW_HANDLE);
}

void UnregisterPowerNotices() {
  if (!application.powerNotices) return;
  auto unregisterNotices = reinterpret_cast<UnregisterSuspendResume>(
      reinterpret_cast<void*>(User32Function("UnregisterSuspendResumeNotification")));
  if (unregisterNotices) unregisterNotices(application.powerNotices);
  application.powerNotices = nullptr;
}

LRESULT HandlePowerBroadcast(WPARAM event) {
  switch (event) {
    case PBT_APMSUSPEND:
      HandleSuspend();
      break;
    case PBT_APMRESUMEAUTOMATIC:  // every wake
    case PBT_APMRESUMESUSPEND:    // a wake by the user, after the one above
      HandleWake();
      break;
  }
  return TRUE;
}
