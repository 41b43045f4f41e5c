#include <gtest/gtest.h>

#include "virtual-meter/ini_reader.h"
#include "virtual-meter/scenario.h"
#include "virtual-meter/scenario_watch.h"
#include "virtual-meter/temperature_packet.h"

namespace vmeter {
namespace {

TEST(VmeterIni, SectionsKeysAndComments) {
  IniDocument document = ParseIni(
      "\xEF\xBB\xBF"
      "top = 1\r\n"
      "; comment = 2\n"
      "# comment = 3\n"
      "[Bridge.2]\r\n"
      "  Present =  1  \r\n"
      "STATUS=0x0300\n"
      "no equals sign\n"
      "[meter]\n"
      "log = \"my log.txt\"\n"
      "log = second.txt\n");
  struct Case {
    const char* section;
    const char* key;
    const char* value;  // null: absent
  } cases[] = {
      {"", "top", "1"},
      {"", "comment", nullptr},
      {"bridge.2", "present", "1"},
      {"BRIDGE.2", "Status", "0x0300"},
      {"bridge.2", "no equals sign", nullptr},
      {"meter", "log", "second.txt"},  // the last of two wins
      {"bridge.3", "present", nullptr},
  };
  for (const Case& c : cases) {
    const std::string* value = FindIniValue(document, c.section, c.key);
    if (!c.value) {
      EXPECT_EQ(value, nullptr) << c.section << "/" << c.key;
      continue;
    }
    ASSERT_NE(value, nullptr) << c.section << "/" << c.key;
    EXPECT_EQ(*value, c.value) << c.section << "/" << c.key;
  }
}

TEST(VmeterIni, Numbers) {
  struct Case {
    const char* text;
    bool valid;
    uint32_t number;
  } cases[] = {
      {"0", true, 0},
      {"35", true, 35},
      {"0x0200", true, 0x200},
      {"0XfF", true, 255},
      {"4294967295", true, UINT32_MAX},
      {"4294967296", false, 0},
      {"0x100000000", false, 0},
      {"", false, 0},
      {"0x", false, 0},
      {"-1", false, 0},
      {"12a", false, 0},
      {"0x1g", false, 0},
      {" 1", false, 0},
  };
  for (const Case& c : cases) {
    uint32_t number = 7;
    EXPECT_EQ(ParseIniNumber(c.text, number), c.valid) << c.text;
    if (c.valid) {
      EXPECT_EQ(number, c.number) << c.text;
    }
  }
}

TEST(VmeterScenario, EmptyTextMeansNoBridgeAndDefaults) {
  Scenario scenario = ParseScenario("");
  for (const BridgeScenario& bridge : scenario.bridges) {
    EXPECT_FALSE(bridge.present);
    EXPECT_EQ(bridge.status, 0x0200u);
    EXPECT_TRUE(bridge.opens);
    EXPECT_EQ(bridge.temperature, 35);
  }
  EXPECT_EQ(scenario.meter.logPath, "");
  EXPECT_EQ(scenario.meter.packetMs, 500);
  EXPECT_EQ(scenario.meter.inject, "");
}

TEST(VmeterScenario, ReadsEveryKey) {
  Scenario scenario = ParseScenario(
      "[bridge.0]\npresent=1\nstatus=0x0A00\nopen=0\ntemperature=0xFF\n"
      "[BRIDGE.15]\nPRESENT=1\nTemperature=0\n"
      "[meter]\nlog=logs\\meter.log\npacket_ms=20\ninject=FE 00 2D 23\n");
  EXPECT_TRUE(scenario.bridges[0].present);
  EXPECT_EQ(scenario.bridges[0].status, 0x0A00u);
  EXPECT_FALSE(scenario.bridges[0].opens);
  EXPECT_EQ(scenario.bridges[0].temperature, 255);
  EXPECT_TRUE(scenario.bridges[15].present);
  EXPECT_EQ(scenario.bridges[15].temperature, 0);
  EXPECT_FALSE(scenario.bridges[1].present);
  EXPECT_EQ(scenario.meter.logPath, "logs\\meter.log");
  EXPECT_EQ(scenario.meter.packetMs, 20);
  EXPECT_EQ(scenario.meter.inject, "FE 00 2D 23");
}

TEST(VmeterScenario, FaultKeysAreOffUnlessGivenInRange) {
  Scenario scenario = ParseScenario(
      "[bridge.0]\nstatus_read=0\nopen_fail_every=3\nwrite_fail_every=7\nwrite_fail_after=0\n"
      "unplug_after=150\nwrite_us=1000\nstatus_us=5000\ncrash_after=40\n"
      "[bridge.1]\nstatus_read=2\nunplug_after=0\nwrite_us=100001\nwrite_fail_after=-1\n"
      "status_us=100001\ncrash_after=0\n"
      "[meter]\ncensus_ms=2000\n");
  const BridgeScenario& faulty = scenario.bridges[0];
  EXPECT_FALSE(faulty.statusReads);
  EXPECT_EQ(faulty.openFailEvery, 3u);
  EXPECT_EQ(faulty.writeFailEvery, 7u);
  EXPECT_EQ(faulty.writeFailAfter, 0u);
  EXPECT_EQ(faulty.unplugAfter, 150u);
  EXPECT_EQ(faulty.writeMicroseconds, 1000u);
  EXPECT_EQ(faulty.statusMicroseconds, 5000u);
  EXPECT_EQ(faulty.crashAfter, 40u);
  EXPECT_EQ(scenario.meter.censusMs, 2000);
  for (int index : {1, 2}) {
    const BridgeScenario& bridge = scenario.bridges[index];
    EXPECT_TRUE(bridge.statusReads) << index;
    EXPECT_EQ(bridge.openFailEvery, 0u) << index;
    EXPECT_EQ(bridge.writeFailEvery, 0u) << index;
    EXPECT_EQ(bridge.writeFailAfter, NEVER) << index;
    EXPECT_EQ(bridge.unplugAfter, NEVER) << index;
    EXPECT_EQ(bridge.writeMicroseconds, 0u) << index;
    EXPECT_EQ(bridge.statusMicroseconds, 0u) << index;
    EXPECT_EQ(bridge.crashAfter, NEVER) << index;
  }
  EXPECT_EQ(ParseScenario("[meter]\ncensus_ms=99\n").meter.censusMs, 0);
}

TEST(VmeterScenario, GarbageFallsBackToDefaults) {
  Scenario scenario = ParseScenario(
      "[bridge.1]\npresent=yes\nstatus=idle\nopen=2\ntemperature=256\n"
      "[bridge.2]\npresent=2\ntemperature=-5\n"
      "[bridge.16]\npresent=1\n"
      "[meter]\npacket_ms=0\n");
  for (int index : {1, 2}) {
    const BridgeScenario& bridge = scenario.bridges[index];
    EXPECT_FALSE(bridge.present) << index;
    EXPECT_EQ(bridge.status, 0x0200u) << index;
    EXPECT_TRUE(bridge.opens) << index;
    EXPECT_EQ(bridge.temperature, 35) << index;
  }
  EXPECT_EQ(scenario.meter.packetMs, 500);
  EXPECT_EQ(ParseScenario("[meter]\npacket_ms=60001\n").meter.packetMs, 500);
  EXPECT_EQ(ParseScenario("[meter]\npacket_ms=10\n").meter.packetMs, 10);
}

TEST(VmeterScenario, LogPathIsTakenFromTheScenarioFolder) {
  struct Case {
    const char* scenario;
    const char* path;
    const char* resolved;
  } cases[] = {
      {"C:\\runs\\a\\vmeter.ini", "meter.log", "C:\\runs\\a\\meter.log"},
      {"C:\\runs\\a\\vmeter.ini", "logs\\meter.log", "C:\\runs\\a\\logs\\meter.log"},
      {"C:\\runs\\a\\vmeter.ini", "D:\\elsewhere.log", "D:\\elsewhere.log"},
      {"C:\\runs\\a\\vmeter.ini", "\\root.log", "\\root.log"},
      {"/tmp/a/vmeter.ini", "meter.log", "/tmp/a/meter.log"},
      {"vmeter.ini", "meter.log", "meter.log"},
      {"C:\\runs\\a\\vmeter.ini", "", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ResolveScenarioPath(c.scenario, c.path), c.resolved) << c.path;
  }
}

TEST(VmeterPacket, TemperaturePacketNibbles) {
  EXPECT_EQ(BuildTemperaturePacket(35), (TemperaturePacket{0, 0, 2, 3, 2, 3}));
  EXPECT_EQ(BuildTemperaturePacket(0xFE), (TemperaturePacket{0, 0, 0xF, 0xE, 2, 3}));
  EXPECT_EQ(BuildTemperaturePacket(0), (TemperaturePacket{0, 0, 0, 0, 2, 3}));
}

TEST(VmeterPacket, InjectStrings) {
  struct Case {
    const char* text;
    bool valid;
    std::vector<uint8_t> nibbles;
  } cases[] = {
      {"FE002D23", true, {0xF, 0xE, 0, 0, 2, 0xD, 2, 3}},
      {"fe 00, 2d-23:1", true, {0xF, 0xE, 0, 0, 2, 0xD, 2, 3, 1}},
      {"", true, {}},
      {"FE0G", false, {}},
      {"0x12", false, {}},
  };
  for (const Case& c : cases) {
    std::vector<uint8_t> nibbles = {9};
    EXPECT_EQ(ParseInjectNibbles(c.text, nibbles), c.valid) << c.text;
    if (c.valid) {
      EXPECT_EQ(nibbles, c.nibbles) << c.text;
    }
  }
}

// Each step: the stamp a check finds, and whether it reads the file.
TEST(VmeterScenarioWatch, ReadsOnAnyChangeAndEverySecondAnyway) {
  const ScenarioStamp file{"C:\\run\\vmeter.ini", true, 120, 5000};
  ScenarioStamp rewritten = file;
  rewritten.writeTime = 5001;
  ScenarioStamp longer = file;
  longer.size = 121;
  ScenarioStamp elsewhere = file;
  elsewhere.path = "C:\\other\\vmeter.ini";
  const ScenarioStamp missing{file.path, false, 0, 0};
  struct Step {
    const ScenarioStamp& stamp;
    bool read;
  } steps[] = {
      {file, true},      {file, false},   {rewritten, true}, {longer, true}, {file, true},
      {elsewhere, true}, {missing, true}, {missing, false},  {file, true},
  };
  ScenarioWatch watch;
  int step = 0;
  for (const Step& s : steps) EXPECT_EQ(watch.NeedsRead(s.stamp), s.read) << "step " << ++step;

  // Unchanged, it is read again on every SCENARIO_READ_EVERY-th check.
  std::vector<int> reads;
  for (int check = 1; check <= 3 * SCENARIO_READ_EVERY; ++check)
    if (watch.NeedsRead(file)) reads.push_back(check);
  EXPECT_EQ(reads, (std::vector<int>{SCENARIO_READ_EVERY, 2 * SCENARIO_READ_EVERY,
                                     3 * SCENARIO_READ_EVERY}));
}

}  // namespace
}  // namespace vmeter
