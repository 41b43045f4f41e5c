#pragma once
// A scenario for the virtual meter (our CH341DLL.DLL), written into a fresh folder under the
// working directory together with the path of its log, and rewritten as a test goes on.
#include <cstdint>
#include <string>

#include "windows/support/meter_log.h"

// A key's value that leaves its fault off.
constexpr uint32_t FAULT_OFF = UINT32_MAX;

struct VirtualBridgeSetup {
  bool present = false;
  uint32_t status = 0x0200;  // idle
  bool opens = true;
  int temperature = 35;
  // The faults of virtual-meter/README.md, written only when set.
  bool statusReads = true;
  uint32_t openFailEvery = 0;
  uint32_t writeFailEvery = 0;
  uint32_t writeFailAfter = FAULT_OFF;
  uint32_t unplugAfter = FAULT_OFF;
  uint32_t crashAfter = FAULT_OFF;
  uint32_t writeMicroseconds = 0;
  uint32_t statusMicroseconds = 0;
};

class VirtualMeterScenario {
 public:
  static constexpr int BRIDGE_COUNT = 16;

  // Makes the folder; nothing is written before Apply.
  VirtualMeterScenario();
  // Removes the folder, unless the test failed: then it stays for a look.
  ~VirtualMeterScenario();
  VirtualMeterScenario(const VirtualMeterScenario&) = delete;
  VirtualMeterScenario& operator=(const VirtualMeterScenario&) = delete;

  VirtualBridgeSetup bridges[BRIDGE_COUNT];
  int packetMs = 50;
  std::string inject;
  int censusMs = 0;

  // Writes the file in one piece and points TORVEX_VMETER at it. When the virtual meter is
  // loaded in this process, waits until it has taken this version up. False on a write failure
  // or a time-out.
  bool Apply(int timeoutMs = MeterLog::DEFAULT_TIMEOUT_MS);
  // As Apply, for a library loaded in another process (a running torvex.exe): waits until it has
  // taken this version up, so what follows meets the new bridges.
  bool ApplyWhileLoaded(int timeoutMs = MeterLog::DEFAULT_TIMEOUT_MS);

  const std::string& Folder() const { return folder_; }
  const std::string& IniPath() const { return iniPath_; }
  const MeterLog& Log() const { return log_; }

 private:
  std::string Text() const;
  bool WriteAndWait(bool waitForLoad, int timeoutMs);
  bool WriteFile() const;

  std::string folder_;
  std::string iniPath_;
  MeterLog log_;
  int revision_ = 0;
};
