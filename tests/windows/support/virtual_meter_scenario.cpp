#include "windows/support/virtual_meter_scenario.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

#include "windows/support/condition_wait.h"

namespace {

constexpr char SCENARIO_VARIABLE[] = "TORVEX_VMETER";
constexpr char LIBRARY_NAME[] = "CH341DLL.DLL";
constexpr char RUNS_FOLDER[] = "vmeter-runs";
constexpr char LOG_NAME[] = "meter.log";
constexpr int RELEASE_TIMEOUT_MS = 1000;
constexpr int RENAME_ATTEMPTS = 200;  // each a millisecond or more apart

std::string MakeFreshFolder() {
  static int made = 0;
  char current[MAX_PATH];
  DWORD length = GetCurrentDirectoryA(sizeof current, current);
  std::string runs = std::string(current, length) + "\\" + RUNS_FOLDER;
  CreateDirectoryA(runs.c_str(), nullptr);
  char name[64];
  std::snprintf(name, sizeof name, "\\%lu-%d-%llu", GetCurrentProcessId(), ++made,
                static_cast<unsigned long long>(GetTickCount64()));
  std::string folder = runs + name;
  CreateDirectoryA(folder.c_str(), nullptr);
  return folder;
}

size_t CountScenarioLoads(const MeterLogRecords& records) {
  return Select(records, [](const MeterLogRecord& r) { return !r.scenario.empty(); }).size();
}

}  // namespace

VirtualMeterScenario::VirtualMeterScenario()
    : folder_(MakeFreshFolder()),
      iniPath_(folder_ + "\\vmeter.ini"),
      log_(folder_ + "\\" + LOG_NAME) {}

VirtualMeterScenario::~VirtualMeterScenario() {
  if (::testing::Test::HasFailure()) {
    std::fprintf(stderr, "virtual meter scenario and log kept in %s\n", folder_.c_str());
    return;
  }
  // Without its file the library drops every bridge and closes the log; only then can the log,
  // and with it the folder, go.
  DeleteFileA(iniPath_.c_str());
  WaitUntil(
      [&] {
        DeleteFileA(log_.Path().c_str());
        return RemoveDirectoryA(folder_.c_str()) != 0;
      },
      RELEASE_TIMEOUT_MS);
}

namespace {

std::string FaultKeys(const VirtualBridgeSetup& bridge) {
  std::string keys;
  auto add = [&keys](const char* key, uint32_t value, uint32_t off) {
    if (value != off) keys += std::string(key) + "=" + std::to_string(value) + "\n";
  };
  add("status_read", bridge.statusReads ? 1 : 0, 1);
  add("open_fail_every", bridge.openFailEvery, 0);
  add("write_fail_every", bridge.writeFailEvery, 0);
  add("write_fail_after", bridge.writeFailAfter, FAULT_OFF);
  add("unplug_after", bridge.unplugAfter, FAULT_OFF);
  add("crash_after", bridge.crashAfter, FAULT_OFF);
  add("write_us", bridge.writeMicroseconds, 0);
  add("status_us", bridge.statusMicroseconds, 0);
  return keys;
}

}  // namespace

std::string VirtualMeterScenario::Text() const {
  std::string text;
  char line[160];
  // The revision makes every version differ, so the library always takes a rewrite up.
  std::snprintf(line, sizeof line,
                "; revision %d\n[meter]\nlog=%s\npacket_ms=%d\ninject=%s\ncensus_ms=%d\n",
                revision_, LOG_NAME, packetMs, inject.c_str(), censusMs);
  text += line;
  for (int index = 0; index < BRIDGE_COUNT; ++index) {
    const VirtualBridgeSetup& bridge = bridges[index];
    std::snprintf(line, sizeof line,
                  "[bridge.%d]\npresent=%d\nstatus=0x%04X\nopen=%d\ntemperature=%d\n", index,
                  bridge.present ? 1 : 0, static_cast<unsigned>(bridge.status),
                  bridge.opens ? 1 : 0, bridge.temperature);
    text += line;
    text += FaultKeys(bridge);
  }
  return text;
}

bool VirtualMeterScenario::WriteFile() const {
  // Written aside and moved over the old one: the library never reads half a file.
  std::string staging = iniPath_ + ".new";
  {
    std::ofstream file(staging, std::ios::binary | std::ios::trunc);
    file << Text();
    if (!file) return false;
  }
  // Wine refuses to rename over a file that any process has open, and the library opens the
  // scenario for a moment to read it: that moment is waited out.
  for (int attempt = 0; attempt < RENAME_ATTEMPTS; ++attempt) {
    if (MoveFileExA(staging.c_str(), iniPath_.c_str(), MOVEFILE_REPLACE_EXISTING)) return true;
    if (GetLastError() != ERROR_ACCESS_DENIED) return false;
    Sleep(1);
  }
  return false;
}

bool VirtualMeterScenario::ApplyWhileLoaded(int timeoutMs) {
  return WriteAndWait(true, timeoutMs);
}

bool VirtualMeterScenario::Apply(int timeoutMs) {
  if (!SetEnvironmentVariableA(SCENARIO_VARIABLE, iniPath_.c_str())) return false;
  // Not loaded here yet: the library reads the scenario before it answers its first call.
  return WriteAndWait(GetModuleHandleA(LIBRARY_NAME) != nullptr, timeoutMs);
}

bool VirtualMeterScenario::WriteAndWait(bool waitForLoad, int timeoutMs) {
  ++revision_;
  if (!waitForLoad) return WriteFile();
  size_t loadsBefore = CountScenarioLoads(log_.Read());
  if (!WriteFile()) return false;
  return log_.WaitFor(
      [&](const MeterLogRecords& records) { return CountScenarioLoads(records) > loadsBefore; },
      timeoutMs);
}
