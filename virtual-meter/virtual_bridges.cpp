#include "virtual-meter/virtual_bridges.h"

#include <utility>

#include "virtual-meter/json_line.h"
#include "virtual-meter/meter_log_lines.h"
#include "virtual-meter/temperature_packet.h"

namespace vmeter {

namespace {

JsonLine CallLine(int64_t tMs, const char* call, uint32_t index, int64_t result) {
  JsonLine line(tMs);
  line.Text("call", call).Number("index", index).Number("result", result);
  return line;
}

}  // namespace

VirtualBridges::VirtualBridges(std::function<int64_t()> clockMs) : clockMs_(std::move(clockMs)) {}

VirtualBridges::Bridge* VirtualBridges::Find(uint32_t index) {
  return index < BRIDGE_COUNT ? &bridges_[index] : nullptr;
}

bool VirtualBridges::IsSending(const Bridge& bridge) const {
  return bridge.open && bridge.setup.present && bridge.routine != 0;
}

void VirtualBridges::UpdateSending(Bridge& bridge) {
  if (!IsSending(bridge)) {
    bridge.nextPacketMs = -1;
    return;
  }
  if (bridge.nextPacketMs < 0) bridge.nextPacketMs = clockMs_() + packetMs_;
}

void VirtualBridges::Unplug(Bridge& bridge) {
  // The handle the program holds dies with the device, and the meter loses its power.
  bridge.handleDead = bridge.open;
  bridge.open = false;
  bridge.routine = 0;
  bridge.meter.PowerOff();
}

void VirtualBridges::Plug(Bridge& bridge) {
  bridge.opensSincePlug = 0;
  bridge.writesSincePlug = 0;
}

bool VirtualBridges::ApplyScenario(const Scenario& scenario, const std::string& source) {
  int64_t now = clockMs_();
  log_.push_back(JsonLine(now).Text("scenario", source).Finish());
  packetMs_ = scenario.meter.packetMs;
  censusMs_ = scenario.meter.censusMs;
  bool plugChanged = false;
  for (int index = 0; index < BRIDGE_COUNT; ++index) {
    Bridge& bridge = bridges_[index];
    bool wasPresent = bridge.setup.present;
    bridge.setup = scenario.bridges[index];
    if (bridge.setup.present != wasPresent) {
      plugChanged = true;
      bridge.losingWrites = false;
      if (bridge.setup.present) {
        Plug(bridge);
      } else {
        Unplug(bridge);
      }
      log_.push_back(
          JsonLine(now).Number("index", index).Number("present", bridge.setup.present).Finish());
    }
    UpdateSending(bridge);
  }
  ArmInjection(scenario.meter.inject, source);
  source_ = source;
  bool firstLoad = !loaded_;
  loaded_ = true;
  return plugChanged && !firstLoad;
}

void VirtualBridges::ArmInjection(const std::string& text, const std::string& source) {
  // Each injection is fed once: only a new file or a changed string arms it again.
  if (source == source_ && text == injectText_) return;
  injectText_ = text;
  std::vector<uint8_t> nibbles;
  if (!ParseInjectNibbles(text, nibbles)) {
    log_.push_back(
        JsonLine(clockMs_()).Text("error", "inject is not hex nibbles: " + text).Finish());
    nibbles.clear();
  }
  inject_ = nibbles;
  injectArmed_ = !inject_.empty();
}

intptr_t VirtualBridges::OpenDevice(uint32_t index) {
  Bridge* bridge = Find(index);
  intptr_t handle = INVALID_BRIDGE_HANDLE;
  bool opens = bridge && bridge->setup.present && bridge->setup.opens;
  if (opens && bridge->setup.openFailEvery > 0 &&
      ++bridge->opensSincePlug % bridge->setup.openFailEvery == 0) {
    opens = false;
    LogFault(index, "open fails");
  }
  if (opens) {
    bridge->open = true;
    bridge->handleDead = false;
    bridge->writesSinceOpen = 0;
    bridge->failingWrites = false;
    bridge->losingWrites = false;
    UpdateSending(*bridge);
    handle = static_cast<intptr_t>(index) + 1;
  }
  log_.push_back(CallLine(clockMs_(), "CH341OpenDevice", index, handle).Finish());
  return handle;
}

bool VirtualBridges::ResetDevice(uint32_t index) {
  Bridge* bridge = Find(index);
  bool done = bridge && bridge->setup.present;
  log_.push_back(CallLine(clockMs_(), "CH341ResetDevice", index, done).Finish());
  return done;
}

bool VirtualBridges::GetStatus(uint32_t index, uint32_t* status) {
  Bridge* bridge = Find(index);
  // Read through the handle the program opened: one that died with an unplug fails even once
  // the bridge is back.
  bool done = bridge && bridge->setup.present && !bridge->handleDead && status;
  if (done && !bridge->setup.statusReads) {
    done = false;
    LogFault(index, "status read fails");
  }
  // The program has looked and found the bridge wanting: a write after this starts a new run, so
  // the log shows whether it still writes to a bridge it knows is gone.
  if (bridge && !done) bridge->losingWrites = false;
  JsonLine line = CallLine(clockMs_(), "CH341GetStatus", index, done);
  if (done) {
    *status = bridge->setup.status;
    line.Number("status", *status);
  }
  log_.push_back(line.Finish());
  return done;
}

bool VirtualBridges::SetExclusive(uint32_t index, uint32_t exclusive) {
  Bridge* bridge = Find(index);
  bool done = bridge && bridge->setup.present && bridge->open;
  log_.push_back(CallLine(clockMs_(), "CH341SetExclusive", index, done)
                     .Number("exclusive", exclusive)
                     .Finish());
  return done;
}

bool VirtualBridges::SetIntRoutine(uint32_t index, RoutineToken routine) {
  Bridge* bridge = Find(index);
  bool done = bridge && bridge->setup.present && bridge->open;
  if (done) {
    bridge->routine = routine;
    UpdateSending(*bridge);
  }
  log_.push_back(CallLine(clockMs_(), "CH341SetIntRoutine", index, done)
                     .Number("routine", routine != 0)
                     .Finish());
  return done;
}

void VirtualBridges::LogLostWrite(uint32_t index, Bridge* bridge) {
  const char* reason = "write to an unknown bridge is lost";
  if (bridge) {
    // One line for a whole run: a frame sent to an unplugged meter would otherwise log 36.
    if (bridge->losingWrites) return;
    bridge->losingWrites = true;
    reason = bridge->setup.present ? "write to a closed bridge is lost"
                                   : "write to an absent bridge is lost";
  }
  log_.push_back(FormatError(clockMs_(), static_cast<int>(index), reason));
}

void VirtualBridges::LogFault(uint32_t index, const char* fault) {
  log_.push_back(JsonLine(clockMs_()).Number("index", index).Text("fault", fault).Finish());
}

bool VirtualBridges::WriteFails(uint32_t index, Bridge& bridge) {
  uint32_t count = ++bridge.writesSinceOpen;
  if (count == bridge.setup.crashAfter) {
    LogFault(index, "crash");
    crashDue_ = true;
  }
  uint32_t every = bridge.setup.writeFailEvery;
  bool fails = (every > 0 && count % every == 0) || count > bridge.setup.writeFailAfter;
  if (!fails) {
    bridge.failingWrites = false;
    return false;
  }
  // One line for a whole run, as for lost writes.
  if (!bridge.failingWrites) LogFault(index, "write fails");
  bridge.failingWrites = true;
  return true;
}

void VirtualBridges::CountWriteTowardsUnplug(uint32_t index, Bridge& bridge) {
  if (++bridge.writesSincePlug != bridge.setup.unplugAfter) return;
  bridge.setup.present = false;
  bridge.losingWrites = false;
  Unplug(bridge);
  UpdateSending(bridge);
  log_.push_back(JsonLine(clockMs_()).Number("index", index).Number("present", 0).Finish());
  plugChanged_ = true;
}

bool VirtualBridges::WriteData(uint32_t index, const uint8_t* bytes, uint32_t length) {
  Bridge* bridge = Find(index);
  if (!bytes) {
    log_.push_back(FormatError(clockMs_(), static_cast<int>(index),
                               "CH341EppWriteData without a buffer or a length"));
    return false;
  }
  if (!bridge || !bridge->setup.present || !bridge->open) {
    LogLostWrite(index, bridge);
    return false;
  }
  bridge->losingWrites = false;
  bool failed = WriteFails(index, *bridge);
  std::vector<MeterEvent> events;
  for (uint32_t i = 0; i < length && !failed; ++i) bridge->meter.Write(bytes[i], events);
  if (!events.empty()) {  // most writes are a nibble inside a frame: no clock read for them
    int64_t now = clockMs_();
    for (const MeterEvent& event : events) {
      FormatMeterEvent(now, static_cast<int>(index), event, log_);
    }
  }
  CountWriteTowardsUnplug(index, *bridge);
  return !failed;
}

uint32_t VirtualBridges::WriteMicroseconds(uint32_t index) const {
  if (index >= BRIDGE_COUNT || !bridges_[index].setup.present) return 0;
  return bridges_[index].setup.writeMicroseconds;
}

uint32_t VirtualBridges::StatusMicroseconds(uint32_t index) const {
  return index < BRIDGE_COUNT ? bridges_[index].setup.statusMicroseconds : 0;
}

bool VirtualBridges::TakePlugChange() {
  bool changed = plugChanged_;
  plugChanged_ = false;
  return changed;
}

bool VirtualBridges::TakeCrash() {
  bool crash = crashDue_;
  crashDue_ = false;
  return crash;
}

void VirtualBridges::CloseDevice(uint32_t index) {
  if (Bridge* bridge = Find(index)) {
    bridge->open = false;
    bridge->handleDead = false;
    bridge->routine = 0;
    UpdateSending(*bridge);
  }
  log_.push_back(
      JsonLine(clockMs_()).Text("call", "CH341CloseDevice").Number("index", index).Finish());
}

std::vector<PacketDelivery> VirtualBridges::TakeDueDeliveries() {
  std::vector<PacketDelivery> deliveries;
  int64_t now = clockMs_();
  for (int index = 0; index < BRIDGE_COUNT; ++index) {
    Bridge& bridge = bridges_[index];
    if (!IsSending(bridge)) continue;
    if (injectArmed_) {
      injectArmed_ = false;
      deliveries.push_back({bridge.routine, inject_});
      log_.push_back(FormatInject(now, index, inject_));
    }
    if (now < bridge.nextPacketMs) continue;
    TemperaturePacket packet = BuildTemperaturePacket(bridge.setup.temperature);
    deliveries.push_back({bridge.routine, std::vector<uint8_t>(packet.begin(), packet.end())});
    log_.push_back(FormatPacket(now, index, packet, bridge.setup.temperature));
    bridge.nextPacketMs += packetMs_;
    if (bridge.nextPacketMs <= now) bridge.nextPacketMs = now + packetMs_;  // fell behind
  }
  return deliveries;
}

int64_t VirtualBridges::NextDeliveryMs() const {
  int64_t next = -1;
  for (const Bridge& bridge : bridges_) {
    if (!IsSending(bridge)) continue;
    int64_t due = injectArmed_ ? 0 : bridge.nextPacketMs;
    if (next < 0 || due < next) next = due;
  }
  return next;
}

std::vector<std::string> VirtualBridges::TakeLogLines() {
  std::vector<std::string> lines;
  lines.swap(log_);
  return lines;
}

}  // namespace vmeter
