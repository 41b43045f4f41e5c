#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "virtual-meter/frame_assembler.h"
#include "virtual-meter/frame_decoder.h"
#include "virtual-meter/meter_model.h"

namespace vmeter {
namespace {

// A frame as the wire carries it, written out by hand: F, E, command, payload, zeros, command.
std::string Frame(char command, const std::string& payload) {
  std::string nibbles = std::string("FE") + command + payload;
  nibbles.resize(FRAME_LENGTH - 1, '0');
  return nibbles + command;
}

int NibbleValue(char digit) {
  return digit <= '9' ? digit - '0' : digit - 'A' + 10;
}

// Hex digits to the bytes that carry them: each nibble in the high half.
std::vector<uint8_t> WireBytes(const std::string& nibbles) {
  std::vector<uint8_t> bytes;
  for (char digit : nibbles) bytes.push_back(static_cast<uint8_t>(NibbleValue(digit) << 4));
  return bytes;
}

WireFrame ToFrame(const std::string& nibbles) {
  WireFrame frame{};
  for (int i = 0; i < FRAME_LENGTH; ++i) frame[i] = static_cast<uint8_t>(NibbleValue(nibbles[i]));
  return frame;
}

std::string Describe(const AssemblyEvent& event) {
  char text[32];
  switch (event.kind) {
    case AssemblyEvent::FRAME:
      std::snprintf(text, sizeof text, "frame %X", event.nibbles[2]);
      break;
    case AssemblyEvent::BAD_TRAILER:
      std::snprintf(text, sizeof text, "bad trailer");
      break;
    case AssemblyEvent::CUT_SHORT:
      std::snprintf(text, sizeof text, "cut after %d", event.count);
      break;
    case AssemblyEvent::SKIPPED:
      std::snprintf(text, sizeof text, "skipped %d", event.count);
      break;
    case AssemblyEvent::LOW_BITS:
      std::snprintf(text, sizeof text, "low bits %02X", event.byte);
      break;
  }
  return text;
}

std::vector<std::string> Assemble(const std::vector<uint8_t>& bytes,
                                  std::vector<AssemblyEvent>* events = nullptr) {
  FrameAssembler assembler;
  std::vector<AssemblyEvent> all;
  for (uint8_t byte : bytes) assembler.Feed(byte, all);
  std::vector<std::string> described;
  for (const AssemblyEvent& event : all) described.push_back(Describe(event));
  if (events) *events = all;
  return described;
}

const std::string VALUE_73 = Frame('3', "49");
const std::string FAN_200 = Frame('9', "C8");

TEST(VmeterAssembler, Streams) {
  std::string badTrailer = VALUE_73;
  badTrailer.back() = '4';
  std::string endsInF = VALUE_73;
  endsInF.back() = 'F';
  std::vector<uint8_t> lowBits = WireBytes(VALUE_73);
  lowBits[2] |= 0x01;  // the command nibble, sent as 0x31
  struct Case {
    const char* name;
    std::vector<uint8_t> bytes;
    std::vector<std::string> events;
  } cases[] = {
      {"one frame", WireBytes(VALUE_73), {"frame 3"}},
      {"two frames back to back", WireBytes(VALUE_73 + FAN_200), {"frame 3", "frame 9"}},
      {"nibbles before the first F E", WireBytes("120" + VALUE_73), {"skipped 3", "frame 3"}},
      {"F not followed by E is skipped", WireBytes("F" + VALUE_73), {"skipped 1", "frame 3"}},
      {"a lone E does not sync", WireBytes("E" + VALUE_73), {"skipped 1", "frame 3"}},
      {"half a frame waits", WireBytes(VALUE_73.substr(0, 20)), {}},
      {"bad trailer", WireBytes(badTrailer), {"bad trailer"}},
      {"bad trailer then a good frame",
       WireBytes(badTrailer + FAN_200),
       {"bad trailer", "frame 9"}},
      {"a trailing F starts the next frame",
       WireBytes(endsInF + FAN_200.substr(1)),
       {"bad trailer", "frame 9"}},
      {"frame cut short by a new one",
       WireBytes(VALUE_73.substr(0, 10) + FAN_200),
       {"cut after 10", "frame 9"}},
      {"cut by a frame that carries F E itself",
       WireBytes(VALUE_73.substr(0, 5) + Frame('3', "FE")),
       {"cut after 5", "frame 3"}},
      {"cut twice",
       WireBytes(VALUE_73.substr(0, 4) + FAN_200.substr(0, 7) + VALUE_73),
       {"cut after 4", "cut after 7", "frame 3"}},
      {"byte with low bits set still counts", lowBits, {"low bits 31", "frame 3"}},
  };
  for (const Case& c : cases) EXPECT_EQ(Assemble(c.bytes), c.events) << c.name;
}

TEST(VmeterAssembler, CutFrameKeepsWhatArrived) {
  std::vector<AssemblyEvent> events;
  Assemble(WireBytes(VALUE_73.substr(0, 6) + FAN_200), &events);
  ASSERT_EQ(events.size(), 2u);
  EXPECT_EQ(events[0].count, 6);
  EXPECT_EQ(events[0].nibbles[3], 4);
  EXPECT_EQ(events[0].nibbles[4], 9);
  EXPECT_EQ(events[1].nibbles, ToFrame(FAN_200));
}

TEST(VmeterDecoder, Commands) {
  struct Case {
    const char* name;
    std::string nibbles;
    DecodedFrame expected;
  } cases[] = {
      {"value 73", VALUE_73, {3, true, 73, -1, -1, -1, -1, -1, -1}},
      {"value 0xFE", Frame('3', "FE"), {3, true, 254, -1, -1, -1, -1, -1, -1}},
      {"thresholds 10, 80, mode 2", Frame('A', "0A502"), {10, true, -1, 10, 80, 2, -1, -1, -1}},
      {"thresholds 255, 0, mode 15", Frame('A', "FF00F"), {10, true, -1, 255, 0, 15, -1, -1, -1}},
      {"backlight on", Frame('8', "1"), {8, true, -1, -1, -1, -1, 1, -1, -1}},
      {"backlight off", Frame('8', "0"), {8, true, -1, -1, -1, -1, 0, -1, -1}},
      {"fan 200", FAN_200, {9, true, -1, -1, -1, -1, -1, 200, -1}},
      {"stray nibble after the payload", Frame('3', "49007"), {3, true, 73, -1, -1, -1, -1, -1, 7}},
      {"stray nibble just before the trailer",
       Frame('8', std::string(31, '0') + "1"),
       {8, true, -1, -1, -1, -1, 0, -1, 34}},
      {"unknown command", Frame('5', "12"), {5, false, -1, -1, -1, -1, -1, -1, -1}},
  };
  for (const Case& c : cases) {
    DecodedFrame frame = DecodeFrame(ToFrame(c.nibbles));
    const DecodedFrame& e = c.expected;
    EXPECT_EQ(frame.command, e.command) << c.name;
    EXPECT_EQ(frame.known, e.known) << c.name;
    EXPECT_EQ(frame.value, e.value) << c.name;
    EXPECT_EQ(frame.low, e.low) << c.name;
    EXPECT_EQ(frame.high, e.high) << c.name;
    EXPECT_EQ(frame.fanMode, e.fanMode) << c.name;
    EXPECT_EQ(frame.backlight, e.backlight) << c.name;
    EXPECT_EQ(frame.fan, e.fan) << c.name;
    EXPECT_EQ(frame.strayPosition, e.strayPosition) << c.name;
  }
}

TEST(VmeterModel, KeepsWhatItWasLastTold) {
  MeterModel meter;
  std::vector<MeterEvent> events;
  for (uint8_t byte : WireBytes(VALUE_73 + Frame('A', "0A502") + Frame('8', "1") + FAN_200 +
                                Frame('3', "05") + Frame('5', "77"))) {
    meter.Write(byte, events);
  }
  ASSERT_EQ(events.size(), 6u);
  EXPECT_EQ(events[0].decoded.value, 73);
  const MeterDisplay& display = meter.Display();
  EXPECT_EQ(display.value, 5);
  EXPECT_EQ(display.lowThreshold, 10);
  EXPECT_EQ(display.highThreshold, 80);
  EXPECT_EQ(display.fanMode, 2);
  EXPECT_EQ(display.backlight, 1);
  EXPECT_EQ(display.fan, 200);

  meter.PowerOff();
  EXPECT_EQ(meter.Display().value, -1);
  EXPECT_EQ(meter.Display().fan, -1);
}

TEST(VmeterModel, PowerOffDropsAHalfFrame) {
  MeterModel meter;
  std::vector<MeterEvent> events;
  for (uint8_t byte : WireBytes(VALUE_73.substr(0, 20))) meter.Write(byte, events);
  meter.PowerOff();
  for (uint8_t byte : WireBytes(VALUE_73.substr(20) + FAN_200)) meter.Write(byte, events);
  ASSERT_EQ(events.size(), 2u);
  EXPECT_EQ(events[0].assembly.kind, AssemblyEvent::SKIPPED);
  EXPECT_EQ(events[0].assembly.count, 16);
  EXPECT_EQ(events[1].decoded.fan, 200);
  EXPECT_EQ(meter.Display().value, -1);
}

}  // namespace
}  // namespace vmeter
