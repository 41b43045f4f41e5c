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

struct BridgeScenario {
  bool present = false;
  uint32_t status = IDLE_STATUS;  // the word CH341GetStatus reports
  bool opens = true;              // false: CH341OpenDevice fails although the bridge is there
  int temperature = DEFAULT_TEMPERATURE;
};

struct MeterScenario {
  std::string logPath;  // as written in the file; empty: no log
  int packetMs = DEFAULT_PACKET_MS;
  std::string inject;  // hex nibbles, fed once before the first packet
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
