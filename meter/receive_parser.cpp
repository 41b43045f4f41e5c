#include "meter/receive_parser.h"

#include "meter/meter_link.h"

int32_t FeedReceivedNibble(ReceiveState& state, uint32_t status) {
  state.buffer[state.count] = static_cast<uint8_t>(status & 0xF);
  ++state.count;
  if (state.count >= 2 && state.buffer[state.count - 2] == 0xF &&
      state.buffer[state.count - 1] == 0xE) {
    state.count = 0;  // synchronisation mark: the next nibble starts a packet
    return -1;
  }
  if (state.count < 6) return -1;
  state.count = 0;
  if (state.buffer[4] != 2 || state.buffer[5] != 3) return -1;
  return state.buffer[2] * 16 + state.buffer[3];
}

void BRIDGE_API ReceiveParser(uint32_t status) {
  int32_t temperature = FeedReceivedNibble(meterLink.receive, status);
  if (temperature < 0) return;
  meterLink.temperatureReading.store(temperature, std::memory_order_relaxed);
  meterLink.lastPacketMs.store(MeterClockMs(), std::memory_order_relaxed);
}
