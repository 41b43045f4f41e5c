#include "meter/meter_frame.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<uint8_t> WireBytes(const MeterFrame& frame) {
  std::vector<uint8_t> bytes;
  for (uint8_t nibble : frame) bytes.push_back(WireByte(nibble));
  return bytes;
}

std::vector<uint8_t> Expected(std::vector<uint8_t> head, int zeros, uint8_t last) {
  head.insert(head.end(), zeros, 0x00);
  head.push_back(last);
  return head;
}

TEST(MeterFrame, ValueSeventyThreeGoesOutAsTheExampleBytes) {
  EXPECT_EQ(WireBytes(BuildValueFrame(73)), Expected({0xF0, 0xE0, 0x30, 0x40, 0x90}, 30, 0x30));
}

TEST(MeterFrame, ThresholdsTenAndEightyAutoGoOutAsTheExampleBytes) {
  EXPECT_EQ(WireBytes(BuildFanThresholdsFrame(10, 80, 2)),
            Expected({0xF0, 0xE0, 0xA0, 0x00, 0xA0, 0x50, 0x00, 0x20}, 27, 0xA0));
}

TEST(MeterFrame, BacklightAndFanFrames) {
  EXPECT_EQ(WireBytes(BuildBacklightFrame(1)), Expected({0xF0, 0xE0, 0x80, 0x10}, 31, 0x80));
  EXPECT_EQ(WireBytes(BuildFanFrame(65)), Expected({0xF0, 0xE0, 0x90, 0x40, 0x10}, 30, 0x90));
}

TEST(MeterFrame, ByteFieldsCarryTheLowEightBits) {
  struct Case {
    int32_t value;
    uint8_t high, low;
  } cases[] = {{300, 0x2, 0xC}, {-1, 0xF, 0xF}, {256, 0, 0}, {255, 0xF, 0xF}, {0, 0, 0}};
  for (const Case& c : cases) {
    MeterFrame frame = BuildValueFrame(c.value);
    EXPECT_EQ(frame[3], c.high) << c.value;
    EXPECT_EQ(frame[4], c.low) << c.value;
  }
}

TEST(MeterFrame, NibbleFieldsCarryTheLowFourBits) {
  EXPECT_EQ(BuildFanThresholdsFrame(0, 0, 2)[7], 2);
  EXPECT_EQ(BuildFanThresholdsFrame(0, 0, 0x12)[7], 2);
  EXPECT_EQ(BuildBacklightFrame(-1)[3], 0xF);
}

TEST(MeterFrame, EveryNibbleTravelsInTheHighHalfOfItsByte) {
  for (int nibble = 0; nibble < 16; ++nibble) EXPECT_EQ(WireByte(nibble), nibble << 4);
  EXPECT_EQ(WireByte(0x1F), 0xF0);
}

}  // namespace
