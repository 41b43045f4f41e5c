#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/meter_log_record.h"
#include "virtual-meter/json_line.h"
#include "virtual-meter/meter_log_lines.h"

namespace vmeter {
namespace {

MeterEvent FrameEvent(const std::string& nibbles) {
  MeterEvent event{};
  event.assembly.kind = AssemblyEvent::FRAME;
  for (int i = 0; i < FRAME_LENGTH; ++i) {
    char digit = nibbles[i];
    event.assembly.nibbles[i] = static_cast<uint8_t>(digit <= '9' ? digit - '0' : digit - 'A' + 10);
  }
  event.decoded = DecodeFrame(event.assembly.nibbles);
  return event;
}

MeterEvent AnomalyEvent(AssemblyEvent::Kind kind, int count, uint8_t byte) {
  MeterEvent event{};
  event.assembly.kind = kind;
  event.assembly.count = count;
  event.assembly.byte = byte;
  event.assembly.nibbles[0] = 0xF;
  event.assembly.nibbles[1] = 0xE;
  event.assembly.nibbles[2] = 3;
  event.assembly.nibbles[3] = 4;
  return event;
}

const std::string ZEROS_30(30, '0');

TEST(VmeterLog, JsonLine) {
  EXPECT_EQ(
      JsonLine(12).Text("call", "CH341OpenDevice").Number("index", 0).Number("result", 1).Finish(),
      "{\"t_ms\":12,\"call\":\"CH341OpenDevice\",\"index\":0,\"result\":1}");
  EXPECT_EQ(JsonLine(-1).Number("n", -4294967296LL).Finish(), "{\"t_ms\":-1,\"n\":-4294967296}");
  EXPECT_EQ(JsonLine(0).Text("scenario", "C:\\a \"b\"\n\x01").Finish(),
            "{\"t_ms\":0,\"scenario\":\"C:\\\\a \\\"b\\\"\\u000a\\u0001\"}");
}

TEST(VmeterLog, MeterEventLines) {
  std::string value73 = "FE349" + ZEROS_30 + "3";
  std::string thresholds = "FEA0A502" + std::string(27, '0') + "A";
  std::string backlight = "FE81" + std::string(31, '0') + "8";
  std::string fan = "FE9FF" + ZEROS_30 + "9";
  std::string stray = "FE3490001" + std::string(26, '0') + "3";
  std::string unknown = "FE512" + ZEROS_30 + "5";
  struct Case {
    MeterEvent event;
    std::vector<std::string> lines;
  } cases[] = {
      {FrameEvent(value73),
       {"{\"t_ms\":820,\"index\":0,\"cmd\":3,\"frame\":\"" + value73 + "\",\"value\":73}"}},
      {FrameEvent(thresholds),
       {"{\"t_ms\":820,\"index\":0,\"cmd\":10,\"frame\":\"" + thresholds +
        "\",\"low\":10,\"high\":80,\"fan_mode\":2}"}},
      {FrameEvent(backlight),
       {"{\"t_ms\":820,\"index\":0,\"cmd\":8,\"frame\":\"" + backlight + "\",\"backlight\":1}"}},
      {FrameEvent(fan),
       {"{\"t_ms\":820,\"index\":0,\"cmd\":9,\"frame\":\"" + fan + "\",\"fan\":255}"}},
      {FrameEvent(stray),
       {"{\"t_ms\":820,\"index\":0,\"cmd\":3,\"frame\":\"" + stray + "\",\"value\":73}",
        "{\"t_ms\":820,\"index\":0,\"error\":\"nonzero nibble at position 8 after the "
        "payload\",\"frame\":\"" +
            stray + "\"}"}},
      {FrameEvent(unknown),
       {"{\"t_ms\":820,\"index\":0,\"error\":\"unknown command 5\",\"frame\":\"" + unknown +
        "\"}"}},
      {AnomalyEvent(AssemblyEvent::CUT_SHORT, 4, 0),
       {"{\"t_ms\":820,\"index\":0,\"error\":\"frame cut short by a new F E after 4 "
        "nibbles\",\"frame\":\"FE34\"}"}},
      {AnomalyEvent(AssemblyEvent::SKIPPED, 7, 0),
       {"{\"t_ms\":820,\"index\":0,\"error\":\"7 nibbles outside a frame\"}"}},
      {AnomalyEvent(AssemblyEvent::LOW_BITS, 0, 0x31),
       {"{\"t_ms\":820,\"index\":0,\"error\":\"byte 0x31 has low bits set\"}"}},
  };
  for (const Case& c : cases) {
    std::vector<std::string> lines;
    FormatMeterEvent(820, 0, c.event, lines);
    EXPECT_EQ(lines, c.lines);
  }
}

TEST(VmeterLog, BadTrailerNamesBothNibbles) {
  MeterEvent event = FrameEvent("FE349" + ZEROS_30 + "4");
  event.assembly.kind = AssemblyEvent::BAD_TRAILER;
  std::vector<std::string> lines;
  FormatMeterEvent(5, 2, event, lines);
  ASSERT_EQ(lines.size(), 1u);
  MeterLogRecord record;
  ASSERT_TRUE(ParseMeterLogRecord(lines[0], record));
  EXPECT_EQ(record.error, "bad trailer 4 after command 3");
  EXPECT_EQ(record.index, 2);
  EXPECT_FALSE(record.IsFrame());  // a rejected frame must not count as one the meter took
}

TEST(VmeterLog, PacketAndInjectLines) {
  EXPECT_EQ(FormatPacket(40, 1, TemperaturePacket{0, 0, 2, 3, 2, 3}, 35),
            "{\"t_ms\":40,\"index\":1,\"packet\":\"002323\",\"temperature\":35}");
  EXPECT_EQ(FormatInject(41, 1, {0xF, 0xE, 0, 0, 2, 0xD, 2, 3}),
            "{\"t_ms\":41,\"index\":1,\"inject\":\"FE002D23\"}");
}

TEST(VmeterLog, CensusLineReadsBack) {
  std::string line = FormatCensus(7, ObjectCensus{40, 2, 31, 12, 5120, 20480});
  EXPECT_EQ(line,
            "{\"t_ms\":7,\"handles\":40,\"wine_spooler_mutexes\":2,\"gdi\":31,\"user\":12,"
            "\"private_kb\":5120,\"working_set_kb\":20480}");
  MeterLogRecord record;
  ASSERT_TRUE(ParseMeterLogRecord(line, record));
  EXPECT_TRUE(record.IsCensus());
  EXPECT_EQ(record.wineSpoolerMutexes, 2);
  EXPECT_EQ(record.gdi, 31);
  EXPECT_EQ(record.user, 12);
  EXPECT_EQ(record.privateKb, 5120);
  EXPECT_EQ(record.workingSetKb, 20480);
}

TEST(VmeterLog, RecordsReadBackEveryField) {
  MeterLogRecord record;
  ASSERT_TRUE(ParseMeterLogRecord(
      "{\"t_ms\":820,\"index\":0,\"cmd\":10,\"frame\":\"FEA\",\"low\":10,\"high\":80,"
      "\"fan_mode\":2,\"backlight\":1,\"fan\":9,\"value\":-3}",
      record));
  EXPECT_EQ(record.tMs, 820);
  EXPECT_EQ(record.index, 0);
  EXPECT_EQ(record.cmd, 10);
  EXPECT_EQ(record.frame, "FEA");
  EXPECT_EQ(record.low, 10);
  EXPECT_EQ(record.high, 80);
  EXPECT_EQ(record.fanMode, 2);
  EXPECT_EQ(record.backlight, 1);
  EXPECT_EQ(record.fan, 9);
  EXPECT_EQ(record.value, -3);

  std::string line = JsonLine(3)
                         .Text("call", "CH341GetStatus")
                         .Number("index", 15)
                         .Number("result", 1)
                         .Number("status", 0x0A00)
                         .Text("scenario", "C:\\x \"y\"")
                         .Finish();
  ASSERT_TRUE(ParseMeterLogRecord(line, record));
  EXPECT_TRUE(record.IsCall("CH341GetStatus"));
  EXPECT_EQ(record.status, 0x0A00);
  EXPECT_EQ(record.scenario, "C:\\x \"y\"");
  EXPECT_FALSE(record.value.has_value());
  EXPECT_FALSE(record.IsError());
}

TEST(VmeterLog, MalformedLinesAreRejected) {
  const char* lines[] = {
      "",
      "{\"t_ms\":1,\"index\":0",  // a line still being written
      "{\"index\":0}",            // no time
      "{\"t_ms\":1,\"index\":}",
      "{\"t_ms\":1}{",
      "{\"t_ms\":1,\"error\":\"open}",
      "{\"t_ms\":\"soon\"}",
  };
  for (const char* line : lines) {
    MeterLogRecord record;
    EXPECT_FALSE(ParseMeterLogRecord(line, record)) << line;
  }
}

}  // namespace
}  // namespace vmeter
