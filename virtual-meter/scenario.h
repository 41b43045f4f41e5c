#pragma once
// What a scenario file asks the virtual meter to be: which of the sixteen bridges are plugged in,
// what they report, and how the meter behind them talks back.
#include <cstdint>
#include <string>

namespace vmeter {

constexpr int BRIDGE_COUNT = 16;
constexpr uint32_t IDLE_STATUS = 0x0200;
constexpr int DEFAULT_TEMPERATURE = 35;
constexpr int DEFAULT_PACKET_MS = 500;
// Faster than this the packets would only load the program's interrupt thread; slower is useless.
constexpr int MIN_PACKET_MS = 10;
constexpr int MAX_PACKET_MS = 60000;
// A count of calls that is never reached: the fault it triggers stays off.
constexpr uint32_t NEVER = UINT32_MAX;
// A slower bridge than this is a hung one, which is not what the key is for.
constexpr uint32_t MAX_CALL_MICROSECONDS = 100000;
constexpr int MIN_CENSUS_MS = 100;

struct BridgeScenario {
  bool present = false;
  uint32_t status = IDLE_STATUS;  // the word CH341GetStatus reports
  bool opens = true;              // false: CH341OpenDevice fails although the bridge is there
  int temperature = DEFAULT_TEMPERATURE;
  // Faults on demand, for testing how the program copes with a bridge that misbehaves.
  bool statusReads = true;          // false: CH341GetStatus fails although the bridge is there
  uint32_t openFailEvery = 0;       // N: every Nth CH341OpenDevice since it was plugged in fails
  uint32_t writeFailEvery = 0;      // N: every Nth write since it was opened fails
  uint32_t writeFailAfter = NEVER;  // N: every write after the first N since it was opened fails
  uint32_t unplugAfter = NEVER;     // N: pulled out right after its Nth write since plugged in
  uint32_t writeMicroseconds = 0;   // how long each CH341EppWriteData takes
  uint32_t statusMicroseconds = 0;  // how long each CH341GetStatus takes, the bridge there or not
  uint32_t crashAfter = NEVER;  // N: its Nth write since it was opened raises an access violation
};

struct MeterScenario {
  std::string logPath;  // as written in the file; empty: no log
  int packetMs = DEFAULT_PACKET_MS;
  std::string inject;  // hex nibbles, fed once before the first packet
  int censusMs = 0;    // period of the process's object counts in the log; 0: none
};

struct Scenario {
  BridgeScenario bridges[BRIDGE_COUNT];
  MeterScenario meter;
};

// Sections [bridge.0] to [bridge.15] and [meter]. A value that is missing, not a number or out of
// range leaves the default: a typo never plugs in a bridge.
Scenario ParseScenario(const std::string& text);

// Where a path written in the file at `scenarioPath` points: absolute paths stay as they are,
// relative ones are taken from the scenario file's folder.
std::string ResolveScenarioPath(const std::string& scenarioPath, const std::string& path);

}  // namespace vmeter
