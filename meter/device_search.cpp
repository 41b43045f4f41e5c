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

std::string DescribeProbe(const IdleBridges& idle) {
  if (idle.opened == 0) return "no bridge found";
  std::string text = "bridges found:";
  const char* separator = " ";
  for (int32_t index = 0; index < BRIDGE_INDEX_COUNT; ++index) {
    if (!(idle.opened & (1u << index))) continue;
    text += separator + std::to_string(index);
    separator = ", ";
  }
  text += "; idle:";
  separator = " ";
  for (int32_t i = 0; i < idle.count; ++i) {
    text += separator + std::to_string(idle.indices[i]);
    separator = ", ";
  }
  if (idle.count == 0) text += " none";
  return text;
}

int32_t AutoSearchResult(const IdleBridges& idle, int32_t linkedIndex) {
  if (idle.count == 0) return SEARCH_NONE_FOUND;
  if (idle.count == 1 && linkedIndex == NO_DEVICE) return idle.lastIdle;
  return SEARCH_ASK_USER;
}
