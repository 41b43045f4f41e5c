#pragma once
// How device changes, meter searches and hot-plug notices meet on the UI thread. Modal dialogs and
// message boxes run nested message loops that go on delivering device changes, so a change can
// arrive while a search or a notice is on screen, or while a notice opened for the previous change
// still waits for the user. These rules keep dialogs and boxes from stacking, and keep the link
// and what the user is told true to the bridges that are present. Plain logic.
#include <cstdint>

enum class DeviceNotice { INSERTED, EJECTED };

// What the rules ask of the system.
class DeviceSystem {
 public:
  virtual ~DeviceSystem() = default;
  virtual bool IsLinked() = 0;
  // Whether the linked bridge has stopped answering; if so, nothing more is sent to it.
  virtual bool DetachIfRemoved() = 0;
  // The SEARCH dialog run for a device change: the bridge to link, or -1 for none.
  virtual int32_t SearchAfterChange() = 0;
  virtual void Link(int32_t index) = 0;
  // Releases the bridge DetachIfRemoved found gone.
  virtual void ReleaseRemoved() = 0;
  // A modal box; any rule here may run again inside it.
  virtual void ShowNotice(DeviceNotice notice) = 0;
};

struct DeviceWatch {
  bool searchOpen = false;
  bool changedDuringSearch = false;
  bool noticeOpen = false;
  bool changedDuringNotice = false;
};

// Every device change: links a meter found when none is linked (or, while a search is open, leaves
// that to the search's end), or releases the linked one when it is gone, and tells the user.
void ApplyDeviceChange(DeviceWatch& watch, DeviceSystem& system);

// Around every SEARCH dialog but the first: false when one is open already, which then stays the
// only one. After a true, EndSearch follows once the search's result has been applied.
bool BeginSearch(DeviceWatch& watch);

// The search is over and its result applied: a device change that came meanwhile is handled now,
// so the link matches the bridges present.
void EndSearch(DeviceWatch& watch, DeviceSystem& system);

// Tells the user what a device change did. While a box is open no second one opens: the change
// is noted, and once the open box is answered one more box tells the newest state if it differs.
void TellDeviceNotice(DeviceWatch& watch, DeviceSystem& system, DeviceNotice notice);
