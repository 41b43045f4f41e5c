// The virtual meter's scenario reader over any text: the INI document, its numbers, the scenario
// taken from it, the log path and the injected nibbles.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "fuzz/fuzz_check.h"
#include "virtual-meter/ini_reader.h"
#include "virtual-meter/scenario.h"
#include "virtual-meter/temperature_packet.h"

namespace vmeter {
namespace {

constexpr const char* SCENARIO_PATH = "C:\\runs\\a\\vmeter.ini";
constexpr const char* SCENARIO_FOLDER = "C:\\runs\\a\\";

bool HasUpperAscii(const std::string& name) {
  for (char c : name) {
    if (c >= 'A' && c <= 'Z') return true;
  }
  return false;
}

std::string UpperAscii(std::string name) {
  for (char& c : name) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return name;
}

// A number that reads at all reads back the same from its decimal and its hex spelling.
void CheckNumber(const std::string& text) {
  uint32_t number = 0;
  if (!ParseIniNumber(text, number)) return;
  for (const char* format : {"%u", "0x%X", "0x%x"}) {
    char spelt[16];
    std::snprintf(spelt, sizeof spelt, format, number);
    uint32_t again = 1;
    FUZZ_CHECK(ParseIniNumber(spelt, again) && again == number);
  }
}

// Names are kept in lower case and found in any case; keys are never empty and hold no '='.
void CheckDocument(const IniDocument& document) {
  for (const auto& [section, keys] : document) {
    FUZZ_CHECK(!HasUpperAscii(section));
    for (const auto& [key, value] : keys) {
      FUZZ_CHECK(!key.empty() && !HasUpperAscii(key));
      FUZZ_CHECK(key.find('=') == std::string::npos && key.find('\n') == std::string::npos);
      FUZZ_CHECK(FindIniValue(document, UpperAscii(section), UpperAscii(key)) == &value);
      CheckNumber(value);
    }
  }
}

void CheckScenario(const Scenario& scenario, const IniDocument& document) {
  for (const BridgeScenario& bridge : scenario.bridges) {
    FUZZ_CHECK(bridge.temperature >= 0 && bridge.temperature <= 255);
    FUZZ_CHECK(bridge.unplugAfter >= 1 && bridge.writeMicroseconds <= MAX_CALL_MICROSECONDS &&
               bridge.statusMicroseconds <= MAX_CALL_MICROSECONDS);
  }
  const MeterScenario& meter = scenario.meter;
  FUZZ_CHECK(meter.packetMs >= MIN_PACKET_MS && meter.packetMs <= MAX_PACKET_MS);
  FUZZ_CHECK(meter.censusMs == 0 ||
             (meter.censusMs >= MIN_CENSUS_MS && meter.censusMs <= MAX_PACKET_MS));
  const std::string* inject = FindIniValue(document, "meter", "inject");
  FUZZ_CHECK(meter.inject == (inject ? *inject : std::string()));

  std::string resolved = ResolveScenarioPath(SCENARIO_PATH, meter.logPath);
  FUZZ_CHECK(resolved == meter.logPath || resolved == SCENARIO_FOLDER + meter.logPath);

  std::vector<uint8_t> nibbles = {0x10};
  if (!ParseInjectNibbles(meter.inject, nibbles)) {
    FUZZ_CHECK(nibbles.size() == 1 && nibbles[0] == 0x10);  // a bad string injects nothing
    return;
  }
  for (uint8_t nibble : nibbles) FUZZ_CHECK(nibble < 16);
  std::vector<uint8_t> again;
  FUZZ_CHECK(ParseInjectNibbles(FormatNibbles(nibbles.data(), nibbles.size()), again));
  FUZZ_CHECK(again == nibbles);
}

}  // namespace
}  // namespace vmeter

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  vmeter::IniDocument document = vmeter::ParseIni(text);
  vmeter::CheckDocument(document);
  vmeter::CheckScenario(vmeter::ParseScenario(text), document);
  return 0;
}
