#include "meter/meter_link.h"

#include <chrono>

#include "meter/bridge_library.h"
#include "meter/receive_parser.h"
#include "meter/spin_wait.h"

MeterLink meterLink;

int64_t MeterClockMs() {
  auto sinceStart = std::chrono::steady_clock::now().time_since_epoch();
  return std::chrono::duration_cast<std::chrono::milliseconds>(sinceStart).count();
}

bool IsReadingFresh(int64_t packetMs, int64_t nowMs) {
  return packetMs != NO_PACKET_MS && nowMs - packetMs < READING_STALE_MS;
}

void SendNibble(int32_t nibble) {
  {
    std::lock_guard<std::mutex> writing(meterLink.writeLock);
    int32_t index = meterLink.deviceIndex.load(std::memory_order_relaxed);
    if (index == NO_DEVICE) return;
    uint8_t byte = WireByte(nibble);
    uint32_t length = 1;
    Bridge().eppWriteData(static_cast<uint32_t>(index), &byte, &length);
  }
  WaitMicroseconds(NIBBLE_PAUSE_MICROSECONDS);
}

void SendMeterFrame(const MeterFrame& frame) {
  for (uint8_t nibble : frame) SendNibble(nibble);
}

namespace {

bool OpenBridge(uint32_t bridgeIndex) {
  for (int attempt = 1; attempt <= LINK_OPEN_ATTEMPTS; ++attempt) {
    if (!IsInvalidBridgeHandle(Bridge().openDevice(bridgeIndex))) return true;
    if (attempt < LINK_OPEN_ATTEMPTS) WaitMicroseconds(LINK_OPEN_PAUSE_MICROSECONDS);
  }
  return false;
}

}  // namespace

bool LinkDevice(int32_t index) {
  int32_t linked = meterLink.deviceIndex.load(std::memory_order_relaxed);
  if (index == linked) return true;
  uint32_t bridgeIndex = static_cast<uint32_t>(index);
  if (!OpenBridge(bridgeIndex)) return false;
  ReleaseBridge(linked);
  meterLink.deviceIndex.store(index, std::memory_order_relaxed);
  Bridge().setIntRoutine(bridgeIndex, ReceiveParser);
  Bridge().setExclusive(bridgeIndex, 1);
  return true;
}

void UnlinkDevice() {
  ReleaseBridge(meterLink.deviceIndex.load(std::memory_order_relaxed));
}

void ReleaseBridge(int32_t index) {
  if (index == NO_DEVICE) return;
  Bridge().setExclusive(static_cast<uint32_t>(index), 0);
  Bridge().closeDevice(static_cast<uint32_t>(index));
}

int32_t DetachIfRemoved() {
  // The status read takes a USB round trip; a nibble written meanwhile would follow the removal.
  std::lock_guard<std::mutex> writing(meterLink.writeLock);
  int32_t index = meterLink.deviceIndex.load(std::memory_order_relaxed);
  uint32_t status = 0;
  if (index == NO_DEVICE || Bridge().getStatus(static_cast<uint32_t>(index), &status) != 0) {
    return NO_DEVICE;
  }
  meterLink.deviceIndex.store(NO_DEVICE, std::memory_order_relaxed);
  return index;
}
