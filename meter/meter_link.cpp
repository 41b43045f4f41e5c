#include "meter/meter_link.h"

#include <chrono>

#include "log/event_log.h"
#include "log/log_clock.h"
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

namespace {

// `count` refused writes, as the throttle lets them be told (0: not now). Under writeLock.
void TellFailedWrites(uint32_t count) {
  int32_t index = meterLink.failedWriteIndex;
  if (count == 1) {
    LogEvent("A write to device %d failed (further failures: one line a minute at most)",
             static_cast<int>(index));
  } else if (count > 1) {
    LogEvent("%u more writes to device %d failed", static_cast<unsigned>(count),
             static_cast<int>(index));
  }
}

}  // namespace

void SendNibble(int32_t nibble) {
  {
    std::lock_guard<std::mutex> writing(meterLink.writeLock);
    int32_t index = meterLink.deviceIndex.load(std::memory_order_relaxed);
    if (index == NO_DEVICE) return;
    uint8_t byte = WireByte(nibble);
    uint32_t length = 1;
    if (!Bridge().eppWriteData(static_cast<uint32_t>(index), &byte, &length)) {
      meterLink.failedWriteIndex = index;
      TellFailedWrites(meterLink.failedWrites.Note(ReadSteadyMs()));
    }
  }
  WaitMicroseconds(NIBBLE_PAUSE_MICROSECONDS);
}

void SendMeterFrame(const MeterFrame& frame) {
  for (uint8_t nibble : frame) SendNibble(nibble);
  std::lock_guard<std::mutex> writing(meterLink.writeLock);
  if (!meterLink.failedWrites.Pending()) return;  // the clock is read only when there is news
  TellFailedWrites(meterLink.failedWrites.TakeDue(ReadSteadyMs()));
}

namespace {

// The attempt that opened the bridge, or 0 when none did.
int OpenBridge(uint32_t bridgeIndex) {
  for (int attempt = 1; attempt <= LINK_OPEN_ATTEMPTS; ++attempt) {
    if (!IsInvalidBridgeHandle(Bridge().openDevice(bridgeIndex))) return attempt;
    if (attempt < LINK_OPEN_ATTEMPTS) WaitMicroseconds(LINK_OPEN_PAUSE_MICROSECONDS);
  }
  return 0;
}

}  // namespace

bool LinkDevice(int32_t index) {
  int32_t linked = meterLink.deviceIndex.load(std::memory_order_relaxed);
  if (index == linked) return true;
  uint32_t bridgeIndex = static_cast<uint32_t>(index);
  int attempt = OpenBridge(bridgeIndex);
  if (attempt == 0) {
    LogEvent("Device %d could not be opened (%d tries): the link stays as it was",
             static_cast<int>(index), LINK_OPEN_ATTEMPTS);
    return false;
  }
  ReleaseBridge(linked);
  meterLink.deviceIndex.store(index, std::memory_order_relaxed);
  Bridge().setIntRoutine(bridgeIndex, ReceiveParser);
  Bridge().setExclusive(bridgeIndex, 1);
  LogEvent("Linked device %d (opened at try %d of %d)", static_cast<int>(index), attempt,
           LINK_OPEN_ATTEMPTS);
  return true;
}

void UnlinkDevice() {
  ReleaseBridge(meterLink.deviceIndex.load(std::memory_order_relaxed));
}

void ReleaseBridge(int32_t index) {
  if (index == NO_DEVICE) return;
  {
    std::lock_guard<std::mutex> writing(meterLink.writeLock);
    TellFailedWrites(meterLink.failedWrites.TakeAll());  // the count, before the bridge goes
  }
  Bridge().setExclusive(static_cast<uint32_t>(index), 0);
  Bridge().closeDevice(static_cast<uint32_t>(index));
  LogEvent("Released device %d", static_cast<int>(index));
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
  LogEvent("Device %d does not answer (its status read failed): its link ends",
           static_cast<int>(index));
  return index;
}
