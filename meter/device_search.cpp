#include "meter/device_search.h"

#include "meter/bridge_library.h"

bool IsIdleStatus(uint32_t status) {
  return (status & 0x200) != 0 && (status & (0x100 | 0x800)) == 0;
}

IdleBridges ProbeIdleBridges(int32_t linkedIndex) {
  IdleBridges idle;
  const BridgeLibrary& bridge = Bridge();
  for (int32_t index = 0; index < BRIDGE_INDEX_COUNT; ++index) {
    if (index == linkedIndex) continue;  // the linked bridge is neither opened nor listed
    uint32_t bridgeIndex = static_cast<uint32_t>(index);
    if (IsInvalidBridgeHandle(bridge.openDevice(bridgeIndex))) continue;
    idle.opened |= 1u << index;
    bridge.resetDevice(bridgeIndex);
    // A read that fails leaves 0xFFFF, which fails the idle test.
    uint32_t status = 0xFFFF;
    bridge.getStatus(bridgeIndex, &status);
    if (IsIdleStatus(status)) {
      idle.indices[idle.count++] = index;
      idle.lastIdle = index;
    }
    bridge.closeDevice(bridgeIndex);
  }
  return idle;
}

namespace {

// "device 3" or "devices 2, 10": each index named as a device, so that none reads as a count.
std::string NameDevices(const int32_t* indices, int32_t count) {
  if (count == 0) return "none";
  std::string text = count == 1 ? "device " : "devices ";
  for (int32_t i = 0; i < count; ++i) text += (i ? ", " : "") + std::to_string(indices[i]);
  return text;
}

}  // namespace

std::string DescribeProbe(const IdleBridges& idle) {
  int32_t opened[BRIDGE_INDEX_COUNT];
  int32_t count = 0;
  for (int32_t index = 0; index < BRIDGE_INDEX_COUNT; ++index) {
    if (idle.opened & (1u << index)) opened[count++] = index;
  }
  if (count == 0) return "no bridge found";
  return "found " + NameDevices(opened, count) + "; idle: " + NameDevices(idle.indices, idle.count);
}

int32_t AutoSearchResult(const IdleBridges& idle, int32_t linkedIndex) {
  if (idle.count == 0) return SEARCH_NONE_FOUND;
  if (idle.count == 1 && linkedIndex == NO_DEVICE) return idle.lastIdle;
  return SEARCH_ASK_USER;
}
