#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/meter_log_record.h"
#include "virtual-meter/virtual_bridges.h"

namespace vmeter {
namespace {

// The 36 bytes of a value frame, written out by hand from the wire format.
std::vector<uint8_t> ValueFrameBytes(int value) {
  std::vector<uint8_t> bytes(FRAME_LENGTH, 0);
  bytes[0] = 0xF0;
  bytes[1] = 0xE0;
  bytes[2] = 0x30;
  bytes[3] = static_cast<uint8_t>(value & 0xF0);
  bytes[4] = static_cast<uint8_t>((value & 0x0F) << 4);
  bytes[35] = 0x30;
  return bytes;
}

class VirtualBridgesTest : public ::testing::Test {
 protected:
  void Apply(const std::string& text, const std::string& source = "C:\\run\\vmeter.ini") {
    bridges.ApplyScenario(ParseScenario(text), source);
  }

  // The log since the last call, read back as a test would read the file.
  std::vector<MeterLogRecord> Log() {
    std::vector<MeterLogRecord> records;
    for (const std::string& line : bridges.TakeLogLines()) {
      MeterLogRecord record;
      EXPECT_TRUE(ParseMeterLogRecord(line, record)) << line;
      records.push_back(record);
    }
    return records;
  }

  void WriteEach(uint32_t index, const std::vector<uint8_t>& bytes) {
    for (uint8_t byte : bytes) bridges.WriteData(index, &byte, 1);
  }

  // Opens the bridge and registers an interrupt routine, as the program links a meter.
  void Link(uint32_t index) {
    bridges.OpenDevice(index);
    bridges.SetIntRoutine(index, ROUTINE);
    bridges.TakeLogLines();
  }

  static constexpr RoutineToken ROUTINE = 0x1234;
  int64_t now = 0;
  VirtualBridges bridges{[this] { return now; }};
};

TEST_F(VirtualBridgesTest, CallsAnswerAsTheScenarioSays) {
  Apply("[bridge.2]\npresent=1\nstatus=0x0300\n[bridge.3]\npresent=1\nopen=0\n");
  Log();
  EXPECT_EQ(bridges.OpenDevice(0), INVALID_BRIDGE_HANDLE);
  EXPECT_EQ(bridges.OpenDevice(2), 3);
  EXPECT_EQ(bridges.OpenDevice(3), INVALID_BRIDGE_HANDLE);
  EXPECT_EQ(bridges.OpenDevice(16), INVALID_BRIDGE_HANDLE);
  EXPECT_TRUE(bridges.ResetDevice(3));
  EXPECT_FALSE(bridges.ResetDevice(0));
  uint32_t status = 0xFFFF;
  EXPECT_FALSE(bridges.GetStatus(0, &status));
  EXPECT_EQ(status, 0xFFFFu);  // a failed read leaves the word alone
  EXPECT_TRUE(bridges.GetStatus(3, &status));
  EXPECT_EQ(status, 0x0200u);
  EXPECT_TRUE(bridges.GetStatus(2, &status));
  EXPECT_EQ(status, 0x0300u);
  EXPECT_FALSE(bridges.GetStatus(2, nullptr));
  EXPECT_TRUE(bridges.SetExclusive(2, 1));
  EXPECT_FALSE(bridges.SetExclusive(3, 1));  // never opened

  std::vector<MeterLogRecord> log = Log();
  ASSERT_EQ(log.size(), 12u);
  EXPECT_TRUE(log[1].IsCall("CH341OpenDevice"));
  EXPECT_EQ(log[1].index, 2);
  EXPECT_EQ(log[1].result, 3);
  EXPECT_EQ(log[2].result, -1);
  EXPECT_EQ(log[8].status, 0x0300);
  EXPECT_FALSE(log[5].status.has_value());
  EXPECT_EQ(log[10].exclusive, 1);
  EXPECT_EQ(log[10].result, 1);
}

TEST_F(VirtualBridgesTest, FramesReachTheMeterOfAnOpenPresentBridge) {
  Apply("[bridge.0]\npresent=1\n");
  bridges.OpenDevice(0);
  Log();
  WriteEach(0, ValueFrameBytes(73));
  std::vector<MeterLogRecord> log = Log();
  ASSERT_EQ(log.size(), 1u);  // the frame, not a line per byte
  EXPECT_EQ(log[0].cmd, 3);
  EXPECT_EQ(log[0].value, 73);
  EXPECT_EQ(log[0].index, 0);
  EXPECT_EQ(bridges.Display(0).value, 73);
}

TEST_F(VirtualBridgesTest, EachBridgeGathersItsOwnFrame) {
  Apply("[bridge.0]\npresent=1\n[bridge.1]\npresent=1\n");
  bridges.OpenDevice(0);
  bridges.OpenDevice(1);
  Log();
  std::vector<uint8_t> first = ValueFrameBytes(10);
  WriteEach(0, std::vector<uint8_t>(first.begin(), first.begin() + 20));
  WriteEach(1, ValueFrameBytes(11));
  WriteEach(0, std::vector<uint8_t>(first.begin() + 20, first.end()));
  std::vector<MeterLogRecord> log = Log();
  ASSERT_EQ(log.size(), 2u);
  EXPECT_EQ(log[0].index, 1);
  EXPECT_EQ(log[0].value, 11);
  EXPECT_EQ(log[1].index, 0);
  EXPECT_EQ(log[1].value, 10);
}

TEST_F(VirtualBridgesTest, LostWritesAreLoggedOncePerRun) {
  Apply("[bridge.0]\npresent=1\n");
  Log();
  struct Case {
    const char* name;
    uint32_t index;
    const char* error;
  } cases[] = {
      {"closed", 0, "write to a closed bridge is lost"},
      {"absent", 5, "write to an absent bridge is lost"},
  };
  for (const Case& c : cases) {
    WriteEach(c.index, ValueFrameBytes(1));
    WriteEach(c.index, ValueFrameBytes(2));
    std::vector<MeterLogRecord> log = Log();
    ASSERT_EQ(log.size(), 1u) << c.name;
    EXPECT_EQ(log[0].error, c.error) << c.name;
    EXPECT_EQ(log[0].index, static_cast<int64_t>(c.index)) << c.name;
  }
  // Once the bridge is open its frames arrive; a write after closing starts a new run.
  bridges.OpenDevice(0);
  WriteEach(0, ValueFrameBytes(3));
  bridges.CloseDevice(0);
  WriteEach(0, ValueFrameBytes(4));
  std::vector<MeterLogRecord> log = Log();
  ASSERT_EQ(log.size(), 4u);
  EXPECT_EQ(log[1].value, 3);
  EXPECT_TRUE(log[2].IsCall("CH341CloseDevice"));
  EXPECT_EQ(log[3].error, "write to a closed bridge is lost");

  EXPECT_FALSE(bridges.WriteData(0, nullptr, 1));
  EXPECT_EQ(Log().at(0).error, "CH341EppWriteData without a buffer or a length");
}

TEST_F(VirtualBridgesTest, PacketsFollowTheScenarioWhileOpenPresentAndRegistered) {
  Apply("[bridge.4]\npresent=1\ntemperature=42\n[meter]\npacket_ms=20\n");
  EXPECT_EQ(bridges.NextDeliveryMs(), -1);
  bridges.OpenDevice(4);
  EXPECT_EQ(bridges.NextDeliveryMs(), -1);  // no routine yet
  bridges.SetIntRoutine(4, ROUTINE);
  EXPECT_EQ(bridges.NextDeliveryMs(), 20);
  now = 19;
  EXPECT_TRUE(bridges.TakeDueDeliveries().empty());
  now = 20;
  std::vector<PacketDelivery> due = bridges.TakeDueDeliveries();
  ASSERT_EQ(due.size(), 1u);
  EXPECT_EQ(due[0].routine, ROUTINE);
  EXPECT_EQ(due[0].nibbles, (std::vector<uint8_t>{0, 0, 2, 0xA, 2, 3}));
  EXPECT_EQ(bridges.NextDeliveryMs(), 40);

  Apply("[bridge.4]\npresent=1\ntemperature=50\n[meter]\npacket_ms=20\n");
  now = 40;
  due = bridges.TakeDueDeliveries();
  ASSERT_EQ(due.size(), 1u);
  EXPECT_EQ(due[0].nibbles, (std::vector<uint8_t>{0, 0, 3, 2, 2, 3}));
  std::vector<MeterLogRecord> log = Log();
  ASSERT_FALSE(log.empty());
  EXPECT_EQ(log.back().packet, "003223");
  EXPECT_EQ(log.back().temperature, 50);

  now = 500;  // fell far behind: one packet, not a burst
  EXPECT_EQ(bridges.TakeDueDeliveries().size(), 1u);
  EXPECT_EQ(bridges.NextDeliveryMs(), 520);

  bridges.CloseDevice(4);
  now = 1000;
  EXPECT_TRUE(bridges.TakeDueDeliveries().empty());
  EXPECT_EQ(bridges.NextDeliveryMs(), -1);
}

TEST_F(VirtualBridgesTest, RoutineNeedsAnOpenBridge) {
  Apply("[bridge.0]\npresent=1\n");
  EXPECT_FALSE(bridges.SetIntRoutine(0, ROUTINE));
  bridges.OpenDevice(0);
  EXPECT_EQ(bridges.NextDeliveryMs(), -1);
}

TEST_F(VirtualBridgesTest, InjectionGoesOnceBeforeTheFirstPacket) {
  const std::string scenario = "[bridge.0]\npresent=1\n[meter]\npacket_ms=20\ninject=FE 00 2D 23\n";
  Apply(scenario);
  Link(0);
  EXPECT_EQ(bridges.NextDeliveryMs(), 0);
  std::vector<PacketDelivery> due = bridges.TakeDueDeliveries();
  ASSERT_EQ(due.size(), 1u);
  EXPECT_EQ(due[0].nibbles, (std::vector<uint8_t>{0xF, 0xE, 0, 0, 2, 0xD, 2, 3}));
  EXPECT_EQ(Log().at(0).inject, "FE002D23");
  now = 20;
  due = bridges.TakeDueDeliveries();
  ASSERT_EQ(due.size(), 1u);
  EXPECT_EQ(due[0].nibbles.size(), 6u);

  struct Case {
    const char* name;
    std::string text;
    std::string source;
    bool injects;
  } cases[] = {
      {"same file, same string", scenario, "C:\\run\\vmeter.ini", false},
      {"changed string", scenario + "inject=1\n", "C:\\run\\vmeter.ini", true},
      {"another file", scenario + "inject=1\n", "C:\\other\\vmeter.ini", true},
      {"not hex", "[bridge.0]\npresent=1\n[meter]\ninject=FX\n", "C:\\other\\vmeter.ini", false},
  };
  for (const Case& c : cases) {
    Apply(c.text, c.source);
    Log();
    EXPECT_EQ(bridges.TakeDueDeliveries().size(), c.injects ? 1u : 0u) << c.name;
    std::vector<MeterLogRecord> log = Log();
    EXPECT_EQ(log.size(), c.injects ? 1u : 0u) << c.name;
  }
}

TEST_F(VirtualBridgesTest, BadInjectionIsLogged) {
  Apply("[meter]\ninject=FE0G\n");
  std::vector<MeterLogRecord> log = Log();
  ASSERT_EQ(log.size(), 2u);
  EXPECT_EQ(log[0].scenario, "C:\\run\\vmeter.ini");
  EXPECT_EQ(log[1].error, "inject is not hex nibbles: FE0G");
}

TEST_F(VirtualBridgesTest, UnplugWhileOpenStopsEverything) {
  const std::string plugged = "[bridge.1]\npresent=1\n[meter]\npacket_ms=20\n";
  const std::string unplugged = "[bridge.1]\npresent=0\n[meter]\npacket_ms=20\n";
  EXPECT_FALSE(bridges.ApplyScenario(ParseScenario(plugged), "a"));  // there from the start
  Link(1);
  WriteEach(1, ValueFrameBytes(9));
  EXPECT_FALSE(bridges.ApplyScenario(ParseScenario(plugged), "a"));  // nothing plugged or pulled
  Log();

  EXPECT_TRUE(bridges.ApplyScenario(ParseScenario(unplugged), "a"));
  std::vector<MeterLogRecord> log = Log();
  ASSERT_EQ(log.size(), 2u);
  EXPECT_EQ(log[1].index, 1);
  EXPECT_EQ(log[1].present, 0);
  now = 100;
  EXPECT_TRUE(bridges.TakeDueDeliveries().empty());
  uint32_t status = 0;
  EXPECT_FALSE(bridges.GetStatus(1, &status));
  WriteEach(1, ValueFrameBytes(10));
  EXPECT_EQ(Log().back().error, "write to an absent bridge is lost");
  EXPECT_EQ(bridges.Display(1).value, -1);  // the meter lost its power

  // Plugged back in, the old handle is dead: writes and status reads are lost until the program
  // opens it again.
  EXPECT_TRUE(bridges.ApplyScenario(ParseScenario(plugged), "a"));
  WriteEach(1, ValueFrameBytes(11));
  EXPECT_TRUE(bridges.TakeDueDeliveries().empty());
  EXPECT_EQ(Log().back().error, "write to a closed bridge is lost");
  EXPECT_FALSE(bridges.GetStatus(1, &status));
  Link(1);
  EXPECT_TRUE(bridges.GetStatus(1, &status));
}

std::vector<std::string> FaultsOf(const std::vector<MeterLogRecord>& log) {
  std::vector<std::string> faults;
  for (const MeterLogRecord& record : log) {
    if (!record.fault.empty()) faults.push_back(record.fault);
  }
  return faults;
}

TEST_F(VirtualBridgesTest, OpensAndStatusReadsFailAsTheScenarioAsks) {
  Apply("[bridge.0]\npresent=1\nopen_fail_every=3\nstatus_read=0\n");
  Log();
  const bool opened[] = {true, true, false, true, true, false};
  for (bool expected : opened) EXPECT_EQ(bridges.OpenDevice(0) == 1, expected);
  uint32_t status = 0xFFFF;
  EXPECT_FALSE(bridges.GetStatus(0, &status));
  EXPECT_EQ(status, 0xFFFFu);
  EXPECT_EQ(FaultsOf(Log()),
            (std::vector<std::string>{"open fails", "open fails", "status read fails"}));
  // Plugged in again, the count of opens starts over.
  Apply("[bridge.0]\npresent=0\n");
  Apply("[bridge.0]\npresent=1\nopen_fail_every=3\n");
  EXPECT_EQ(bridges.OpenDevice(0), 1);
  EXPECT_EQ(bridges.OpenDevice(0), 1);
  EXPECT_TRUE(bridges.GetStatus(0, &status));
}

TEST_F(VirtualBridgesTest, WritesFailAsTheScenarioAsksAndTheFailedBytesAreLost) {
  struct Case {
    const char* name;
    const char* keys;
    std::vector<bool> written;  // the results of ten writes after opening
    size_t faultLines;          // one per run of failures
  } cases[] = {
      {"every third", "write_fail_every=3\n", {1, 1, 0, 1, 1, 0, 1, 1, 0, 1}, 3},
      {"after four", "write_fail_after=4\n", {1, 1, 1, 1, 0, 0, 0, 0, 0, 0}, 1},
      {"from the start", "write_fail_after=0\n", {0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, 1},
  };
  for (const Case& c : cases) {
    Apply(std::string("[bridge.0]\npresent=1\n") + c.keys);
    bridges.OpenDevice(0);
    Log();
    for (size_t i = 0; i < c.written.size(); ++i) {
      uint8_t byte = 0xF0;
      EXPECT_EQ(bridges.WriteData(0, &byte, 1), c.written[i]) << c.name << " write " << i;
    }
    EXPECT_EQ(FaultsOf(Log()).size(), c.faultLines) << c.name;
  }
  // Opening again starts a fresh count; a failed byte never reaches the meter.
  Apply("[bridge.0]\npresent=1\nwrite_fail_every=40\n");
  bridges.OpenDevice(0);
  WriteEach(0, ValueFrameBytes(42));
  EXPECT_EQ(bridges.Display(0).value, 42);
  bridges.OpenDevice(0);
  WriteEach(0, ValueFrameBytes(43));
  EXPECT_EQ(bridges.Display(0).value, 43) << "writes 1 to 36 since the bridge was opened again";
  WriteEach(0, ValueFrameBytes(44));
  EXPECT_EQ(bridges.Display(0).value, 43) << "the 40th write, the frame's fourth, was lost";
}

TEST_F(VirtualBridgesTest, CrashAfterFallsDueAtTheNthWriteSinceTheBridgeWasOpened) {
  Apply("[bridge.0]\npresent=1\ncrash_after=3\n");
  for (int opening = 0; opening < 2; ++opening) {
    bridges.OpenDevice(0);
    Log();
    for (int write = 1; write <= 4; ++write) {
      uint8_t byte = 0xF0;
      bridges.WriteData(0, &byte, 1);
      EXPECT_EQ(bridges.TakeCrash(), write == 3) << "opening " << opening << " write " << write;
    }
    EXPECT_EQ(FaultsOf(Log()).size(), 1u) << "the crash is in the log before it happens";
  }
}

TEST_F(VirtualBridgesTest, UnplugAfterPullsTheBridgeMidFrameAndPluggingItBackCountsAnew) {
  const std::string scenario = "[bridge.2]\npresent=1\nunplug_after=40\nwrite_us=1000\n";
  Apply(scenario);
  Link(2);
  EXPECT_EQ(bridges.WriteMicroseconds(2), 1000u);
  WriteEach(2, ValueFrameBytes(5));
  EXPECT_FALSE(bridges.TakePlugChange());
  std::vector<uint8_t> frame = ValueFrameBytes(6);
  for (size_t i = 0; i < 4; ++i) EXPECT_TRUE(bridges.WriteData(2, &frame[i], 1)) << i;
  EXPECT_TRUE(bridges.TakePlugChange()) << "the 40th write pulls it out";
  EXPECT_FALSE(bridges.TakePlugChange());
  EXPECT_FALSE(bridges.WriteData(2, &frame[4], 1));
  EXPECT_EQ(bridges.WriteMicroseconds(2), 0u) << "an absent bridge fails at once";
  std::vector<MeterLogRecord> log = Log();
  ASSERT_GE(log.size(), 3u);
  EXPECT_EQ(log[log.size() - 2].present, 0);
  EXPECT_EQ(log.back().error, "write to an absent bridge is lost");
  uint32_t status = 0;
  EXPECT_FALSE(bridges.GetStatus(2, &status));
  now = 1000;
  EXPECT_TRUE(bridges.TakeDueDeliveries().empty());

  // A failed status read ends the run of lost writes: a write after it shows in the log again.
  EXPECT_FALSE(bridges.WriteData(2, &frame[5], 1));
  log = Log();
  EXPECT_EQ(log.back().error, "write to an absent bridge is lost");
  EXPECT_EQ(log.back().tMs, 1000);

  EXPECT_TRUE(bridges.ApplyScenario(ParseScenario(scenario), "C:\\run\\vmeter.ini"));
  Link(2);
  WriteEach(2, ValueFrameBytes(7));
  EXPECT_EQ(bridges.Display(2).value, 7) << "whole frames after the program opens it again";
  EXPECT_FALSE(bridges.TakePlugChange());
}

}  // namespace
}  // namespace vmeter
