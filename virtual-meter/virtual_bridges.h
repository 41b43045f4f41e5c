#pragma once
// The sixteen emulated bridges and their meters: every decision the virtual CH341DLL takes on a
// library call, a scenario change or a packet tick, and the log lines that record it. Plain
// logic: the Win32 layer adds the lock, the threads and the calls into the program.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "virtual-meter/meter_model.h"
#include "virtual-meter/scenario.h"

namespace vmeter {

// The program's interrupt routine, opaque here: the Win32 layer casts it back. 0 is none.
using RoutineToken = uintptr_t;

constexpr intptr_t INVALID_BRIDGE_HANDLE = -1;

// Nibbles to hand to one bridge's interrupt routine, one call per nibble, in order.
struct PacketDelivery {
  RoutineToken routine = 0;
  std::vector<uint8_t> nibbles;
};

class VirtualBridges {
 public:
  // `clockMs` stamps the log lines: milliseconds since the library was loaded.
  explicit VirtualBridges(std::function<int64_t()> clockMs);

  // Takes a scenario (re)read from `source`. Returns whether a bridge was plugged in or pulled
  // out, which the system announces with WM_DEVICECHANGE; the bridges of the first scenario were
  // there all along, so taking it up announces nothing.
  bool ApplyScenario(const Scenario& scenario, const std::string& source);

  // The seven library calls. A present bridge answers, unless the scenario asks it to fail; an
  // absent or unknown one fails.
  intptr_t OpenDevice(uint32_t index);  // index + 1, or INVALID_BRIDGE_HANDLE
  bool ResetDevice(uint32_t index);
  bool GetStatus(uint32_t index, uint32_t* status);
  bool SetExclusive(uint32_t index, uint32_t exclusive);
  bool SetIntRoutine(uint32_t index, RoutineToken routine);
  // `bytes` null: the program passed no buffer or no length.
  bool WriteData(uint32_t index, const uint8_t* bytes, uint32_t length);
  void CloseDevice(uint32_t index);

  // How long a write to bridge `index` takes: its scenario's write_us while it is present.
  uint32_t WriteMicroseconds(uint32_t index) const;
  // How long a status read of bridge `index` takes: its scenario's status_us, present or not.
  uint32_t StatusMicroseconds(uint32_t index) const;

  // Whether a bridge has been pulled out by its unplug_after since the last call, which the
  // system announces as it does a scenario's plug change.
  bool TakePlugChange();
  // Whether the write just made was a bridge's crash_after-th since it was opened: the library
  // then crashes as a faulty driver library would, once the lock is released.
  bool TakeCrash();

  // The scenario's census_ms: how often the process's objects are counted into the log.
  int CensusMs() const { return censusMs_; }

  // The packets due now (each sending bridge's first one a period after it started sending),
  // preceded once by the scenario's injected nibbles. Logged as they are handed out.
  std::vector<PacketDelivery> TakeDueDeliveries();
  // When the next delivery falls due, or -1 while no bridge is sending.
  int64_t NextDeliveryMs() const;

  // The log lines written since the last call, oldest first.
  std::vector<std::string> TakeLogLines();

  const MeterDisplay& Display(uint32_t index) const { return bridges_[index].meter.Display(); }

 private:
  struct Bridge {
    BridgeScenario setup;
    bool open = false;
    bool handleDead = false;  // unplugged while open: the program's handle went with the device
    RoutineToken routine = 0;
    int64_t nextPacketMs = -1;   // -1: not sending
    bool losingWrites = false;   // the current run of lost writes is already in the log
    bool failingWrites = false;  // the current run of failed writes is already in the log
    uint32_t opensSincePlug = 0;
    uint32_t writesSinceOpen = 0;
    uint32_t writesSincePlug = 0;
    MeterModel meter;
  };

  Bridge* Find(uint32_t index);
  bool IsSending(const Bridge& bridge) const;
  void UpdateSending(Bridge& bridge);
  void Unplug(Bridge& bridge);
  void Plug(Bridge& bridge);
  void LogLostWrite(uint32_t index, Bridge* bridge);
  void LogFault(uint32_t index, const char* fault);
  bool WriteFails(uint32_t index, Bridge& bridge);
  void CountWriteTowardsUnplug(uint32_t index, Bridge& bridge);
  void ArmInjection(const std::string& text, const std::string& source);

  std::function<int64_t()> clockMs_;
  Bridge bridges_[BRIDGE_COUNT];
  int packetMs_ = DEFAULT_PACKET_MS;
  int censusMs_ = 0;
  bool plugChanged_ = false;
  bool crashDue_ = false;
  bool loaded_ = false;
  std::string source_;
  std::string injectText_;
  std::vector<uint8_t> inject_;
  bool injectArmed_ = false;
  std::vector<std::string> log_;
};

}  // namespace vmeter
