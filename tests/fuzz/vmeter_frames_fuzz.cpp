// The virtual meter's frame assembler, decoder and model over any stream of written bytes; then,
// on a meter powered afresh, the frames the program builds from values taken from the same input
// must come out whole and decode to those values.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "fuzz/fuzz_check.h"
#include "meter/meter_frame.h"
#include "virtual-meter/meter_model.h"

namespace vmeter {
namespace {

constexpr int COMMAND_POSITION = 2;
constexpr int PAYLOAD_START = 3;
constexpr int TRAILER_POSITION = FRAME_LENGTH - 1;

bool IsByte(int field) {
  return field >= -1 && field <= 255;
}

bool IsNibble(int field) {
  return field >= -1 && field <= 15;
}

bool StartsWithMark(const WireFrame& nibbles) {
  return nibbles[0] == 0xF && nibbles[1] == 0xE;
}

void CheckDecoded(const WireFrame& nibbles, const DecodedFrame& decoded) {
  FUZZ_CHECK(decoded.command == nibbles[COMMAND_POSITION]);
  bool known = decoded.command == COMMAND_VALUE || decoded.command == COMMAND_BACKLIGHT ||
               decoded.command == COMMAND_FAN || decoded.command == COMMAND_FAN_THRESHOLDS;
  FUZZ_CHECK(decoded.known == known);
  FUZZ_CHECK(IsByte(decoded.value) && IsByte(decoded.low) && IsByte(decoded.high) &&
             IsByte(decoded.fan));
  FUZZ_CHECK(IsNibble(decoded.fanMode) && IsNibble(decoded.backlight));
  if (decoded.strayPosition != -1) {
    FUZZ_CHECK(known);
    FUZZ_CHECK(decoded.strayPosition > PAYLOAD_START && decoded.strayPosition < TRAILER_POSITION);
    FUZZ_CHECK(nibbles[decoded.strayPosition] != 0);
  }
}

void CheckEvent(const MeterEvent& event) {
  const AssemblyEvent& assembly = event.assembly;
  for (uint8_t nibble : assembly.nibbles) FUZZ_CHECK(nibble < 16);
  switch (assembly.kind) {
    case AssemblyEvent::FRAME:
      FUZZ_CHECK(StartsWithMark(assembly.nibbles));
      FUZZ_CHECK(assembly.nibbles[TRAILER_POSITION] == assembly.nibbles[COMMAND_POSITION]);
      CheckDecoded(assembly.nibbles, event.decoded);
      break;
    case AssemblyEvent::BAD_TRAILER:
      FUZZ_CHECK(StartsWithMark(assembly.nibbles));
      FUZZ_CHECK(assembly.nibbles[TRAILER_POSITION] != assembly.nibbles[COMMAND_POSITION]);
      break;
    case AssemblyEvent::CUT_SHORT:
      FUZZ_CHECK(StartsWithMark(assembly.nibbles));
      FUZZ_CHECK(assembly.count >= COMMAND_POSITION && assembly.count < TRAILER_POSITION);
      for (int i = assembly.count; i < FRAME_LENGTH; ++i) FUZZ_CHECK(assembly.nibbles[i] == 0);
      break;
    case AssemblyEvent::SKIPPED:
      FUZZ_CHECK(assembly.count > 0);
      break;
    case AssemblyEvent::LOW_BITS:
      FUZZ_CHECK((assembly.byte & 0x0F) != 0);
      break;
    default:
      FUZZ_CHECK(false);
  }
}

void CheckDisplay(const MeterDisplay& display) {
  FUZZ_CHECK(IsByte(display.value) && IsByte(display.lowThreshold) &&
             IsByte(display.highThreshold) && IsByte(display.fan));
  FUZZ_CHECK(IsNibble(display.fanMode) && IsNibble(display.backlight));
}

// Sends one frame as the program writes it: exactly one whole frame arrives.
DecodedFrame SendFrame(MeterModel& meter, const MeterFrame& frame) {
  std::vector<MeterEvent> events;
  for (uint8_t nibble : frame) meter.Write(WireByte(nibble), events);
  FUZZ_CHECK(events.size() == 1 && events[0].assembly.kind == AssemblyEvent::FRAME);
  CheckEvent(events[0]);
  FUZZ_CHECK(events[0].decoded.known && events[0].decoded.strayPosition == -1);
  return events[0].decoded;
}

void CheckProgramFrames(const uint8_t* values) {
  MeterModel meter;
  FUZZ_CHECK(SendFrame(meter, BuildValueFrame(values[0])).value == values[0]);
  DecodedFrame thresholds =
      SendFrame(meter, BuildFanThresholdsFrame(values[1], values[2], values[3]));
  FUZZ_CHECK(thresholds.low == values[1] && thresholds.high == values[2] &&
             thresholds.fanMode == (values[3] & 0xF));
  FUZZ_CHECK(SendFrame(meter, BuildBacklightFrame(values[4])).backlight == (values[4] & 0xF));
  FUZZ_CHECK(SendFrame(meter, BuildFanFrame(values[5])).fan == values[5]);
  const MeterDisplay& display = meter.Display();
  FUZZ_CHECK(display.value == values[0] && display.lowThreshold == values[1] &&
             display.highThreshold == values[2] && display.fan == values[5]);
}

}  // namespace
}  // namespace vmeter

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  vmeter::MeterModel meter;
  std::vector<vmeter::MeterEvent> events;
  for (size_t i = 0; i < size; ++i) {
    events.clear();
    meter.Write(data[i], events);
    for (const vmeter::MeterEvent& event : events) vmeter::CheckEvent(event);
    vmeter::CheckDisplay(meter.Display());
  }
  if (size >= 6) vmeter::CheckProgramFrames(data);
  return 0;
}
