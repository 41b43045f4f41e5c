#include "app/device_choice.h"

#include <windows.h>

#include "app/application.h"
#include "app/device_watch.h"
#include "app/search_dialog.h"
#include "app/tray_device_switch.h"
#include "log/event_log.h"
#include "meter/device_search.h"
#include "meter/meter_link.h"
#include "monitor/refresh_worker.h"

namespace {

bool IsBridgeIndex(int32_t result) {
  return result >= 0 && result < BRIDGE_INDEX_COUNT;
}

void ShowBox(HWND owner, const char* text, UINT icon) {
  // No caption of our own: the system's default title.
  MessageBoxA(owner, text, nullptr, icon);
}

// Moves the link to `index` once no refresh pass is in progress.
void SwitchLinkedDevice(int32_t index) {
  RefreshPassHold hold;  // no frame in flight while the link changes
  UnlinkDevice();
  LinkDevice(index);
}

class WindowsDeviceSystem : public DeviceSystem {
 public:
  bool IsLinked() override { return meterLink.deviceIndex.load() != NO_DEVICE; }
  bool DetachIfRemoved() override {
    removed = ::DetachIfRemoved();
    return removed != NO_DEVICE;
  }
  int32_t SearchAfterChange() override {
    int32_t result = RunSearchDialog(nullptr);
    return IsBridgeIndex(result) ? result : NO_DEVICE;
  }
  void Link(int32_t index) override { SwitchLinkedDevice(index); }
  void ReleaseRemoved() override {
    // Detached already, so the pass in flight sends nothing more to the bridge that went; the
    // hold waits for that pass to end before the bridge is released.
    RefreshPassHold hold;
    ReleaseBridge(removed);
    removed = NO_DEVICE;
  }
  void ShowNotice(DeviceNotice notice) override {
    LogEvent("The user is told the meter was %s",
             notice == DeviceNotice::INSERTED ? "inserted and linked" : "ejected");
    if (notice == DeviceNotice::INSERTED) {
      ShowBox(application.mainWindow, "Velquin Torvex has been Inserted and Linked!",
              MB_ICONINFORMATION);
    } else {
      ShowBox(application.mainWindow, "Velquin Torvex has been Ejected!", MB_ICONERROR);
    }
  }

 private:
  int32_t removed = NO_DEVICE;  // found gone by DetachIfRemoved, released by ReleaseRemoved
};

WindowsDeviceSystem windowsDevices;

// What a device change meets; what it leads to is logged as it happens.
void LogDeviceChange() {
  int32_t linked = meterLink.deviceIndex.load();
  if (linked == NO_DEVICE) {
    LogEvent("Device change seen; no meter linked");
  } else {
    LogEvent("Device change seen; device %d linked", static_cast<int>(linked));
  }
}

// The user's search for another idle meter: its index, or NO_DEVICE when the search was cancelled
// or found none (then the user has been told).
int32_t SearchForAnotherDevice() {
  int32_t result = RunSearchDialog(application.mainWindow);
  if (result == SEARCH_NONE_FOUND)
    ShowBox(application.mainWindow, "No more Velquin Torvex Found!", MB_ICONINFORMATION);
  return IsBridgeIndex(result) ? result : NO_DEVICE;
}

template <typename Switch>
void ChooseAnotherDevice(Switch switchTo) {
  if (!BeginSearch(application.devices)) {
    BringSearchDialogForward();
    return;
  }
  int32_t index = SearchForAnotherDevice();
  if (index != NO_DEVICE) switchTo(index);
  EndSearch(application.devices, windowsDevices);
}

}  // namespace

bool ChooseStartupDevice() {
  // Nothing is linked yet, so the search picks the only idle meter itself and asks only when
  // there are two or more.
  int32_t result = RunSearchDialog(nullptr);
  if (result == SEARCH_CANCELLED) {
    LogEvent("The first search was cancelled: Torvex ends");
    return false;
  }
  if (result == SEARCH_NONE_FOUND) ShowBox(nullptr, "Not Found Velquin Torvex!\n", MB_ICONERROR);
  meterLink.deviceIndex = IsBridgeIndex(result) ? result : NO_DEVICE;
  return true;
}

void ChooseDevice() {
  ChooseAnotherDevice(SwitchLinkedDevice);
}

void ChooseDeviceFromTray() {
  ChooseAnotherDevice(SwitchDeviceFromTray);
}

void HandleDeviceChange() {
  LogDeviceChange();
  ApplyDeviceChange(application.devices, windowsDevices);
}
