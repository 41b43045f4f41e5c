#include "meter/receive_parser.h"

#include <gtest/gtest.h>

#include <vector>

#include "meter/meter_link.h"

namespace {

// Feeds nibbles and returns the temperature of the last accepted packet, or -1.
int32_t Feed(ReceiveState& state, const std::vector<uint32_t>& nibbles) {
  int32_t last = -1;
  for (uint32_t nibble : nibbles) {
    int32_t temperature = FeedReceivedNibble(state, nibble);
    if (temperature >= 0) last = temperature;
  }
  return last;
}

TEST(ReceiveParser, Packets) {
  struct Case {
    const char* name;
    std::vector<uint32_t> nibbles;
    int32_t temperature;
  } cases[] = {
      {"after a sync mark", {0xF, 0xE, 0, 0, 2, 0xD, 2, 3}, 45},
      {"with no mark since start-up", {0, 0, 1, 0xE, 2, 3}, 30},
      {"bad trailer dropped", {0xF, 0xE, 0, 0, 2, 0xD, 2, 4}, -1},
      {"temperature 0xFE never accepted", {0xF, 0xE, 0, 0, 0xF, 0xE, 2, 3}, -1},
      {"F then E inside restarts after the E", {0, 0xF, 0xE, 7, 7, 3, 0xC, 2, 3}, 0x3C},
      {"only the low four bits of the status count",
       {0x1F, 0x2E, 0x10, 0x20, 0x32, 0x4D, 0x52, 0x63},
       45},
      {"two packets, the last wins", {0, 0, 1, 0, 2, 3, 0, 0, 2, 0, 2, 3}, 32},
      {"F not followed by E is data", {0, 0xF, 0xF, 0xF, 2, 3}, 0xFF},
  };
  for (const Case& c : cases) {
    ReceiveState state;
    EXPECT_EQ(Feed(state, c.nibbles), c.temperature) << c.name;
  }
}

TEST(ReceiveParser, DroppedPacketKeepsCountingInSixes) {
  ReceiveState state;
  EXPECT_EQ(Feed(state, {0, 0, 1, 0, 2, 4}), -1);
  EXPECT_EQ(state.count, 0);
  EXPECT_EQ(Feed(state, {0, 0, 1, 1, 2, 3}), 17);
}

TEST(ReceiveParser, HalfPacketWaitsForTheRest) {
  ReceiveState state;
  EXPECT_EQ(Feed(state, {0, 0, 2}), -1);
  EXPECT_EQ(state.count, 3);
  EXPECT_EQ(Feed(state, {0xA, 2, 3}), 42);
}

TEST(ReceiveParser, RoutineKeepsTheReadingOfEachValidPacketFreshForFiveSeconds) {
  meterLink.receive = ReceiveState{};
  for (uint32_t nibble : {0, 0, 2, 0xD, 2, 3}) ReceiveParser(nibble);
  EXPECT_EQ(meterLink.temperatureReading.exchange(0), 45);
  int64_t packetMs = meterLink.lastPacketMs.exchange(NO_PACKET_MS);
  EXPECT_TRUE(IsReadingFresh(packetMs, packetMs + READING_STALE_MS - 1));
  EXPECT_FALSE(IsReadingFresh(packetMs, packetMs + READING_STALE_MS));
  EXPECT_FALSE(IsReadingFresh(NO_PACKET_MS, packetMs)) << "no packet yet";
}

}  // namespace
