#include "app/device_watch.h"

namespace {

constexpr int32_t NONE_FOUND = -1;

DeviceNotice CurrentState(DeviceSystem& system) {
  return system.IsLinked() ? DeviceNotice::INSERTED : DeviceNotice::EJECTED;
}

}  // namespace

void ApplyDeviceChange(DeviceWatch& watch, DeviceSystem& system) {
  if (watch.searchOpen) watch.changedDuringSearch = true;
  if (watch.noticeOpen) watch.changedDuringNotice = true;
  if (system.IsLinked()) {
    if (!system.DetachIfRemoved()) return;  // some other device came or went
    system.ReleaseRemoved();
    TellDeviceNotice(watch, system, DeviceNotice::EJECTED);
    return;
  }
  if (!BeginSearch(watch)) return;  // looked at again when the open search ends
  int32_t index = system.SearchAfterChange();
  if (index != NONE_FOUND) system.Link(index);
  EndSearch(watch, system);
  if (index != NONE_FOUND && system.IsLinked()) {
    TellDeviceNotice(watch, system, DeviceNotice::INSERTED);
  }
}

bool BeginSearch(DeviceWatch& watch) {
  if (watch.searchOpen) return false;
  watch.searchOpen = true;
  watch.changedDuringSearch = false;
  return true;
}

void EndSearch(DeviceWatch& watch, DeviceSystem& system) {
  watch.searchOpen = false;
  if (!watch.changedDuringSearch) return;
  watch.changedDuringSearch = false;
  ApplyDeviceChange(watch, system);
}

void TellDeviceNotice(DeviceWatch& watch, DeviceSystem& system, DeviceNotice notice) {
  if (watch.noticeOpen) return;
  watch.noticeOpen = true;
  for (;;) {
    watch.changedDuringNotice = false;
    system.ShowNotice(notice);
    if (!watch.changedDuringNotice || CurrentState(system) == notice) break;
    notice = CurrentState(system);
  }
  watch.noticeOpen = false;
}
