#include "app/device_watch.h"

namespace {

constexpr int32_t NONE = -1;

DeviceNotice CurrentState(DeviceSystem& system) {
  return system.LinkedDevice() != NONE ? DeviceNotice::INSERTED : DeviceNotice::EJECTED;
}

// Whether bridge `index` is the meter linked before a sleep, which may come and go quietly now.
bool IsAwaited(const DeviceWatch& watch, int32_t index) {
  return (watch.asleep || watch.settling) && index != NONE && index == watch.awaited;
}

}  // namespace

void ApplyDeviceChange(DeviceWatch& watch, DeviceSystem& system) {
  if (system.RunEnded()) return;
  if (watch.searchOpen) watch.changedDuringSearch = true;
  if (watch.noticeOpen) watch.changedDuringNotice = true;
  int32_t linked = system.LinkedDevice();
  if (linked != NONE) {
    if (!system.DetachIfRemoved()) return;  // some other device came or went
    system.ReleaseRemoved();
    if (!IsAwaited(watch, linked)) TellDeviceNotice(watch, system, DeviceNotice::EJECTED);
    return;
  }
  // Back from the sleep: linked again the moment it opens, with no search and no box.
  if (IsAwaited(watch, watch.awaited) && system.Link(watch.awaited)) return;
  if (!BeginSearch(watch)) return;  // looked at again when the open search ends
  int32_t index = system.SearchAfterChange();
  bool linkedNow = index != NONE && !system.RunEnded() && system.Link(index);
  EndSearch(watch, system);
  if (linkedNow && system.LinkedDevice() != NONE) {
    TellDeviceNotice(watch, system, DeviceNotice::INSERTED);
  }
}

void ChooseAnotherDevice(DeviceWatch& watch, DeviceSystem& system) {
  if (!BeginSearch(watch)) {
    system.BringSearchForward();
    return;
  }
  int32_t index = system.SearchForAnother();
  if (index != NONE && !system.RunEnded() && !system.Link(index)) {
    TellDeviceNotice(watch, system, DeviceNotice::NOT_OPENED);
  }
  EndSearch(watch, system);
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
  // The state the user takes the link to be in once the box is read: a choice that could not be
  // opened leaves it as it was.
  DeviceNotice told = notice == DeviceNotice::NOT_OPENED ? CurrentState(system) : notice;
  for (;;) {
    watch.changedDuringNotice = false;
    system.ShowNotice(notice);
    if (!watch.changedDuringNotice || CurrentState(system) == told) break;
    notice = told = CurrentState(system);
  }
  watch.noticeOpen = false;
}

void ApplySuspend(DeviceWatch& watch, DeviceSystem& system) {
  if (watch.asleep || system.RunEnded()) return;
  system.PausePasses();
  watch.asleep = true;
  // Asleep again within a settle period, with the meter still gone: that one is still awaited.
  int32_t linked = system.LinkedDevice();
  if (linked != NONE || !watch.settling) watch.awaited = linked;
  watch.settling = false;
}

void ApplyWake(DeviceWatch& watch, DeviceSystem& system) {
  if (!watch.asleep || system.RunEnded()) return;
  watch.asleep = false;
  // A meter that lost its power in the sleep does not answer, and its old handle stays dead even
  // once it is back: released without a word.
  if (system.LinkedDevice() != NONE && system.DetachIfRemoved()) system.ReleaseRemoved();
  if (watch.awaited != NONE && system.LinkedDevice() == NONE) system.Link(watch.awaited);
  system.ResumePasses();
  if (watch.awaited == NONE) return;
  // Also for a meter that answered: on many PCs USB drops it only after the wake notice.
  watch.settling = true;
  system.StartSettlePeriod();
}

void EndSettlePeriod(DeviceWatch& watch, DeviceSystem& system) {
  if (!watch.settling) return;
  watch.settling = false;
  int32_t awaited = watch.awaited;
  watch.awaited = NONE;
  // A meter linked in its place has been announced already.
  if (system.RunEnded() || system.LinkedDevice() != NONE) return;
  // Back without a notice that could link it (it came while it could not be opened yet).
  if (system.Link(awaited)) return;
  TellDeviceNotice(watch, system, DeviceNotice::EJECTED);
}
