#pragma once
// The link to the one meter Torvex drives: which bridge it is on, the temperature it last
// reported, sending nibbles and frames to it, and taking a bridge up and releasing it.
#include <atomic>
#include <cstdint>
#include <mutex>

#include "log/repeat_throttle.h"
#include "meter/bridge_library.h"
#include "meter/meter_frame.h"
#include "meter/receive_parser.h"

constexpr int32_t NO_DEVICE = -1;
constexpr int32_t BRIDGE_INDEX_COUNT = 16;
constexpr int64_t NIBBLE_PAUSE_MICROSECONDS = 100;
// An open can fail for a moment (the driver still setting up a bridge just plugged in), so the
// link tries a few times, a short pause apart, before it gives the bridge up.
constexpr int LINK_OPEN_ATTEMPTS = 3;
constexpr int64_t LINK_OPEN_PAUSE_MICROSECONDS = 10000;
// A reading whose packet is this old, or which no packet has brought yet, is stale: the meter has
// gone silent, and its last figure says nothing about the temperature now.
constexpr int64_t READING_STALE_MS = 5000;
constexpr int64_t NO_PACKET_MS = INT64_MIN;

// Process-wide state of the meter link: everything it keeps for the whole run.
struct MeterLink {
  // Shared between threads without locks: each is written by one thread and read by others.
  std::atomic<int32_t> deviceIndex{NO_DEVICE};  // written on the UI thread only
  std::atomic<int32_t> temperatureReading{0};   // written by the receive parser only
  // When the last valid packet came, on MeterClockMs(); written by the receive parser only.
  std::atomic<int64_t> lastPacketMs{NO_PACKET_MS};
  // Held for each nibble's write, and by DetachIfRemoved from its status read to the detach: a
  // bridge found gone gets no nibble more, not even one of a frame already in flight.
  std::mutex writeLock;
  // Writes the bridge refused, told in the event log without a line per nibble, and the bridge
  // of the last one. Under writeLock.
  RepeatThrottle failedWrites;
  int32_t failedWriteIndex = NO_DEVICE;
  // The library's functions: installed on the UI thread at start-up, before any other thread
  // runs, and only read after.
  BridgeLibrary bridge = AbsentBridgeLibrary();
  // The packet being gathered: touched only by the interrupt thread, which calls one at a time.
  ReceiveState receive;
};
static_assert(std::atomic<int32_t>::is_always_lock_free, "plain aligned 32-bit words expected");
static_assert(std::atomic<int64_t>::is_always_lock_free, "a packet's time is one 64-bit access");

extern MeterLink meterLink;

// Milliseconds on the steady clock that stamps the packets and that their age is read on.
int64_t MeterClockMs();

// Whether a reading whose packet came at `packetMs` (NO_PACKET_MS: none came) is fresh at `nowMs`.
bool IsReadingFresh(int64_t packetMs, int64_t nowMs);

// Sends one nibble to the linked meter and pauses 100 us; does nothing, and takes no time, while
// no meter is linked. The device index is read afresh for every nibble, so a frame cut by an
// unlink or relink loses its rest or sends it to the new meter. A write the bridge refuses is
// logged: the first at once, the rest counted, at most one line a minute.
void SendNibble(int32_t nibble);

// Sends the frame's nibbles, then logs the refused writes still untold once their minute is up.
void SendMeterFrame(const MeterFrame& frame);

// Takes up the bridge: it is opened (tried up to LINK_OPEN_ATTEMPTS times) and only then is the
// bridge linked so far released; the new one becomes the device index, gets the receive parser as
// its interrupt routine and is claimed for exclusive use. When it does not open, the link stays as
// it was and the result is false: a working meter is not given up for one that cannot be reached.
// The results of the two calls after the open are not tested. Linking the bridge linked already
// changes nothing. Either way the event log says so.
bool LinkDevice(int32_t index);

// Releases the linked bridge, if any. The device index is left to the caller.
void UnlinkDevice();

// Releases bridge `index` (nothing for NO_DEVICE): what UnlinkDevice does to the linked one.
void ReleaseBridge(int32_t index);

// Reads the linked bridge's status. When the read fails (the bridge was unplugged), the link ends
// at once, before its bridge is released: a frame in flight drops the rest. Returns the bridge
// detached, or NO_DEVICE when the linked one still answers or none is linked.
int32_t DetachIfRemoved();
