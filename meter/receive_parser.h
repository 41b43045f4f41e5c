#pragma once
// Gathers the meter's interrupt nibbles into six-nibble packets: first byte (unused), the
// temperature byte, and the trailer 2, 3. F directly followed by E restarts the gathering.
#include <cstdint>

#include "meter/bridge_library.h"

struct ReceiveState {
  uint8_t buffer[6] = {};
  int32_t count = 0;
};

// Takes the low four bits of one interrupt status word. Returns the temperature of a packet that
// this nibble completed with a valid trailer, or -1 when it completed none.
int32_t FeedReceivedNibble(ReceiveState& state, uint32_t status);

// The routine registered with the bridge: feeds the process-wide receive state and keeps the
// temperature of every valid packet in meterLink.temperatureReading, and its time in
// meterLink.lastPacketMs. Called by the bridge library's interrupt thread, one call at a time.
void BRIDGE_API ReceiveParser(uint32_t status);
