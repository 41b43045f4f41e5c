#include "virtual-meter/scenario.h"

#include <cstdio>

#include "virtual-meter/ini_reader.h"

namespace vmeter {

namespace {

// Leaves `target` as it is unless the key holds a number from `low` to `high`.
template <typename Field>
void ReadNumber(const IniDocument& document, const std::string& section, const char* key,
                uint32_t low, uint32_t high, Field& target) {
  const std::string* text = FindIniValue(document, section, key);
  uint32_t number = 0;
  if (!text || !ParseIniNumber(*text, number)) return;
  if (number < low || number > high) return;
  target = static_cast<Field>(number);
}

void ReadFlag(const IniDocument& document, const std::string& section, const char* key,
              bool& target) {
  uint32_t number = target ? 1 : 0;
  ReadNumber(document, section, key, 0, 1, number);
  target = number == 1;
}

bool IsSeparator(char c) {
  return c == '\\' || c == '/';
}

bool IsAbsolute(const std::string& path) {
  if (!path.empty() && IsSeparator(path[0])) return true;
  return path.size() >= 2 && path[1] == ':';  // a drive letter
}

}  // namespace

Scenario ParseScenario(const std::string& text) {
  IniDocument document = ParseIni(text);
  Scenario scenario;
  for (int index = 0; index < BRIDGE_COUNT; ++index) {
    char section[16];
    std::snprintf(section, sizeof section, "bridge.%d", index);
    BridgeScenario& bridge = scenario.bridges[index];
    ReadFlag(document, section, "present", bridge.present);
    ReadNumber(document, section, "status", 0, UINT32_MAX, bridge.status);
    ReadFlag(document, section, "open", bridge.opens);
    ReadNumber(document, section, "temperature", 0, 255, bridge.temperature);
    ReadFlag(document, section, "status_read", bridge.statusReads);
    ReadNumber(document, section, "open_fail_every", 0, UINT32_MAX, bridge.openFailEvery);
    ReadNumber(document, section, "write_fail_every", 0, UINT32_MAX, bridge.writeFailEvery);
    ReadNumber(document, section, "write_fail_after", 0, UINT32_MAX, bridge.writeFailAfter);
    ReadNumber(document, section, "unplug_after", 1, UINT32_MAX, bridge.unplugAfter);
    ReadNumber(document, section, "write_us", 0, MAX_CALL_MICROSECONDS, bridge.writeMicroseconds);
    ReadNumber(document, section, "status_us", 0, MAX_CALL_MICROSECONDS, bridge.statusMicroseconds);
    ReadNumber(document, section, "crash_after", 1, UINT32_MAX, bridge.crashAfter);
  }
  MeterScenario& meter = scenario.meter;
  if (const std::string* log = FindIniValue(document, "meter", "log")) meter.logPath = *log;
  ReadNumber(document, "meter", "packet_ms", MIN_PACKET_MS, MAX_PACKET_MS, meter.packetMs);
  if (const std::string* inject = FindIniValue(document, "meter", "inject")) {
    meter.inject = *inject;
  }
  ReadNumber(document, "meter", "census_ms", MIN_CENSUS_MS, MAX_PACKET_MS, meter.censusMs);
  return scenario;
}

std::string ResolveScenarioPath(const std::string& scenarioPath, const std::string& path) {
  if (path.empty() || IsAbsolute(path)) return path;
  size_t folderEnd = scenarioPath.find_last_of("\\/");
  if (folderEnd == std::string::npos) return path;
  return scenarioPath.substr(0, folderEnd + 1) + path;
}

}  // namespace vmeter
