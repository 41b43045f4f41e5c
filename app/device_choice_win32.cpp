#include "app/device_choice.h"

#include <windows.h>

#include "app/application.h"
#include "app/device_watch.h"
#include "app/search_dialog.h"
#include "log/event_log.h"
#include "meter/device_search.h"
#include "meter/meter_link.h"
#include "monitor/refresh_worker.h"

namespace {

constexpr UINT_PTR SETTLE_TIMER_ID = 2;

bool IsBridgeIndex(int32_t result) {
  return result >= 0 && result < BRIDGE_INDEX_COUNT;
}

int32_t BridgeOf(int32_t searchResult) {
  return IsBridgeIndex(searchResult) ? searchResult : NO_DEVICE;
}

void ShowBox(HWND owner, const char* text, UINT icon) {
  // No caption of our own: the system's default title.
  MessageBoxA(owner, text, nullptr, icon);
}

void CALLBACK OnSettleTimer(HWND window, UINT, UINT_PTR id, DWORD);

class WindowsDeviceSystem : public DeviceSystem {
 public:
  int32_t LinkedDevice() override { return meterLink.deviceIndex.load(); }
  bool DetachIfRemoved() override {
    removed = ::DetachIfRemoved();
    return removed != NO_DEVICE;
  }
  void ReleaseRemoved() override {
    // Detached already, so the pass in flight sends nothing more to the bridge that went; the
    // hold waits for that pass to end before the bridge is released.
    RefreshPassHold hold;
    ReleaseBridge(removed);
    removed = NO_DEVICE;
  }
  int32_t SearchAfterChange() override { return BridgeOf(RunSearchDialog(nullptr)); }
  int32_t SearchForAnother() override {
    int32_t result = RunSearchDialog(application.mainWindow);
    if (result == SEARCH_NONE_FOUND)
      ShowBox(application.mainWindow, "No more Velquin Torvex Found!", MB_ICONINFORMATION);
    return BridgeOf(result);
  }
  void BringSearchForward() override { BringSearchDialogForward(); }
  bool Link(int32_t index) override { return SwitchLinkedDevice(index); }
  void ShowNotice(DeviceNotice notice) override {
    static const char* const told[] = {"inserted and linked", "ejected", "chosen but not opened"};
    LogEvent("The user is told the meter was %s", told[static_cast<int>(notice)]);
    switch (notice) {
      case DeviceNotice::INSERTED:
        ShowBox(application.mainWindow, "Velquin Torvex has been Inserted and Linked!",
                MB_ICONINFORMATION);
        break;
      case DeviceNotice::EJECTED:
        ShowBox(application.mainWindow, "Velquin Torvex has been Ejected!", MB_ICONERROR);
        break;
      case DeviceNotice::NOT_OPENED:
        ShowBox(application.mainWindow, "The chosen Velquin Torvex could not be opened!",
                MB_ICONERROR);
        break;
    }
  }
  bool RunEnded() override { return application.runEnded; }
  void PausePasses() override { PauseRefreshCycle(application.mainWindow); }
  void ResumePasses() override { ResumeRefreshCycle(application.mainWindow); }
  void StartSettlePeriod() override {
    SetTimer(application.mainWindow, SETTLE_TIMER_ID, SETTLE_PERIOD_MS, OnSettleTimer);
  }

 private:
  int32_t removed = NO_DEVICE;  // found gone by DetachIfRemoved, released by ReleaseRemoved
};

WindowsDeviceSystem windowsDevices;

// The meter linked now, in the words of the log.
void LogLinkState(const char* when) {
  int32_t linked = meterLink.deviceIndex.load();
  if (linked == NO_DEVICE) {
    LogEvent("%s; no meter linked", when);
  } else {
    LogEvent("%s; device %d linked", when, static_cast<int>(linked));
  }
}

void CALLBACK OnSettleTimer(HWND window, UINT, UINT_PTR id, DWORD) {
  KillTimer(window, id);  // the period ends once
  LogLinkState("The wake's settle period is over");
  EndSettlePeriod(application.devices, windowsDevices);
}

}  // namespace

bool ChooseStartupDevice() {
  // Nothing is linked yet, so the search picks the only idle meter itself and asks only when
  // there are two or more. A meter found that then does not open is as good as none.
  int32_t result = RunSearchDialog(nullptr);
  if (result == SEARCH_CANCELLED) {
    LogEvent("The first search was cancelled: Torvex ends");
    return false;
  }
  if (result == SEARCH_NONE_FOUND || (IsBridgeIndex(result) && !SwitchLinkedDevice(result)))
    ShowBox(nullptr, "Not Found Velquin Torvex!\n", MB_ICONERROR);
  return true;
}

void ChooseDevice() {
  ChooseAnotherDevice(application.devices, windowsDevices);
}

bool SwitchLinkedDevice(int32_t index) {
  // Every search before a switch runs a message loop that goes on dispatching RefreshTimer ticks,
  // so a pass may be sending right now. The hold waits for it to end, also when nothing is linked
  // yet (its last nibbles would reach the new meter in the middle of a frame), and keeps the next
  // pass out until the link is in place. The timer runs on: its ticks come to this thread, which
  // is busy here, and a worker they resume waits for the hold.
  RefreshPassHold hold;
  return LinkDevice(index);
}

void HandleDeviceChange() {
  // What the change meets; what it leads to is logged as it happens.
  LogLinkState("Device change seen");
  ApplyDeviceChange(application.devices, windowsDevices);
}

void HandleSuspend() {
  if (!application.devices.asleep) LogLinkState("The PC goes to sleep: passes stop");
  ApplySuspend(application.devices, windowsDevices);
}

void HandleWake() {
  if (!application.devices.asleep) return;  // a second wake notice, or one with no suspend
  ApplyWake(application.devices, windowsDevices);
  LogLinkState("The PC woke up: passes resume");
}
