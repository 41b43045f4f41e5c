#include "app/device_choice.h"

#include <windows.h>

#include "app/application.h"
#include "app/search_dialog.h"
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

}  // namespace

bool ChooseStartupDevice() {
  // Nothing is linked yet, so the search picks the only idle meter itself and asks only when
  // there are two or more.
  int32_t result = RunSearchDialog(nullptr);
  if (result == SEARCH_CANCELLED) return false;
  if (result == SEARCH_NONE_FOUND) ShowBox(nullptr, "Not Found Velquin Torvex!\n", MB_ICONERROR);
  meterLink.deviceIndex = IsBridgeIndex(result) ? result : NO_DEVICE;
  return true;
}

void SwitchLinkedDevice(int index) {
  // No frame may be in flight while the link changes.
  RefreshPassHold hold;
  UnlinkDevice();
  if (index == NO_DEVICE) {
    meterLink.deviceIndex = NO_DEVICE;
    return;
  }
  LinkDevice(index);
}

int32_t SearchForAnotherDevice() {
  int32_t result = RunSearchDialog(application.mainWindow);
  if (result == SEARCH_NONE_FOUND)
    ShowBox(application.mainWindow, "No more Velquin Torvex Found!", MB_ICONINFORMATION);
  return IsBridgeIndex(result) ? result : NO_DEVICE;
}

void ChooseDevice() {
  int32_t index = SearchForAnotherDevice();
  if (index != NO_DEVICE) SwitchLinkedDevice(index);
}

void HandleDeviceChange() {
  // A device change while a search is on screen would stack a second one.
  if (IsSearchDialogOpen()) return;
  if (meterLink.deviceIndex.load() == NO_DEVICE) {
    int32_t result = RunSearchDialog(nullptr);
    if (!IsBridgeIndex(result)) return;
    SwitchLinkedDevice(result);
    ShowBox(application.mainWindow, "Velquin Torvex has been Inserted and Linked!",
            MB_ICONINFORMATION);
    return;
  }
  if (IsLinkedDevicePresent()) return;  // some other device came or went
  SwitchLinkedDevice(NO_DEVICE);
  ShowBox(application.mainWindow, "Velquin Torvex has been Ejected!", MB_ICONERROR);
}
