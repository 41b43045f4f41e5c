#pragma once
// How device changes, meter searches, hot-plug notices and the PC's sleep meet on the UI thread.
// Modal dialogs and message boxes run nested message loops that go on delivering device changes,
// so a change can arrive while a search or a notice is on screen, or while a notice opened for the
// previous change still waits for the user. These rules keep dialogs and boxes from stacking, keep
// the link and what the user is told true to the bridges that are present, let the meter drop
// and come back across a sleep without a word, and link nothing once the run has ended. Plain
// logic.
#include <cstdint>

// How long after a wake the meter linked before the sleep may take to come back without a box.
// USB re-enumerates a device that lost power in the sleep within a few seconds of the wake, hubs
// and docks taking the longest; a meter still gone after 10 s was most likely unplugged, and the
// user learns it while the wake is still fresh in mind.
constexpr uint32_t SETTLE_PERIOD_MS = 10000;

// NOT_OPENED: the meter the user chose could not be opened; the link stays as it was.
enum class DeviceNotice { INSERTED, EJECTED, NOT_OPENED };

// What the rules ask of the system.
class DeviceSystem {
 public:
  virtual ~DeviceSystem() = default;
  // The linked bridge, or -1.
  virtual int32_t LinkedDevice() = 0;
  // Whether the linked bridge has stopped answering; if so, nothing more is sent to it.
  virtual bool DetachIfRemoved() = 0;
  // Releases the bridge DetachIfRemoved found gone.
  virtual void ReleaseRemoved() = 0;
  // The SEARCH dialog run for a device change: the bridge to link, or -1 for none.
  virtual int32_t SearchAfterChange() = 0;
  // The user's search for another idle meter: the bridge chosen, or -1 when the user cancelled or
  // none was found (then the user has been told).
  virtual int32_t SearchForAnother() = 0;
  // Brings the search on screen to the foreground.
  virtual void BringSearchForward() = 0;
  // Moves the link to `index` once it is open; false, and the link as it was, when it does not.
  virtual bool Link(int32_t index) = 0;
  // A modal box; any rule here may run again inside it.
  virtual void ShowNotice(DeviceNotice notice) = 0;
  // Whether the run has ended; a search's loop may return after the user quit inside it.
  virtual bool RunEnded() = 0;
  // Lets the pass in progress end and starts no other until ResumePasses.
  virtual void PausePasses() = 0;
  virtual void ResumePasses() = 0;
  // EndSettlePeriod follows SETTLE_PERIOD_MS from now.
  virtual void StartSettlePeriod() = 0;
};

struct DeviceWatch {
  bool searchOpen = false;
  bool changedDuringSearch = false;
  bool noticeOpen = false;
  bool changedDuringNotice = false;
  // From the suspend notice to the wake, and through the settle period after it, the meter linked
  // when the PC went to sleep (`awaited`) may go and come back without a box.
  bool asleep = false;
  bool settling = false;
  int32_t awaited = -1;
};

// Every device change: links a meter found when none is linked (or, while a search is open, leaves
// that to the search's end), or releases the linked one when it is gone, and tells the user.
void ApplyDeviceChange(DeviceWatch& watch, DeviceSystem& system);

// F3 and both menus' Choose Device: moves the link to the meter the user picks, or keeps it and
// says so when that one cannot be opened. While a search is open, that one comes forward instead.
void ChooseAnotherDevice(DeviceWatch& watch, DeviceSystem& system);

// Around every SEARCH dialog but the first: false when one is open already, which then stays the
// only one. After a true, EndSearch follows once the search's result has been applied.
bool BeginSearch(DeviceWatch& watch);

// The search is over and its result applied: a device change that came meanwhile is handled now,
// so the link matches the bridges present.
void EndSearch(DeviceWatch& watch, DeviceSystem& system);

// Tells the user what a device change did. While a box is open no second one opens: the change
// is noted, and once the open box is answered one more box tells the newest state if it differs.
void TellDeviceNotice(DeviceWatch& watch, DeviceSystem& system, DeviceNotice notice);

// The PC is going to sleep: the pass in progress ends and no other starts. A repeated notice
// changes nothing.
void ApplySuspend(DeviceWatch& watch, DeviceSystem& system);

// The PC woke up: the linked meter is checked with a status read and kept, or released quietly
// when it does not answer; passes resume, and the settle period begins. Only the first wake notice
// after a suspend counts (Windows may send two).
void ApplyWake(DeviceWatch& watch, DeviceSystem& system);

// The settle period is over: a meter linked before the sleep that is still gone, with nothing
// linked in its place, is reported ejected, once.
void EndSettlePeriod(DeviceWatch& watch, DeviceSystem& system);
