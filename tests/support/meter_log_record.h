#pragma once
// One line of the virtual meter's log, read back: a flat JSON object of numbers and strings.
#include <cstdint>
#include <map>
#include <optional>
#include <string>

struct MeterLogRecord {
  int64_t tMs = -1;
  // Library calls
  std::string call;
  std::optional<int64_t> index, result, exclusive, status, routine;
  // Frames the meter took, with the fields of their command
  std::optional<int64_t> cmd, value, low, high, fanMode, backlight, fan;
  std::string frame;
  // Anomalies, faults the scenario asked for, packets sent to the program, scenario loads and
  // plug changes
  std::string error, fault, packet, inject, scenario;
  std::optional<int64_t> temperature, present;
  // The process's object counts
  std::optional<int64_t> handles, wineSpoolerMutexes, gdi, user, privateKb, workingSetKb;
  // Every member as text, by key, for anything not named above.
  std::map<std::string, std::string> fields;

  bool IsCall(const char* name) const { return call == name; }
  bool IsFrame() const { return cmd.has_value(); }
  bool IsError() const { return !error.empty(); }
  bool IsPacket() const { return !packet.empty(); }
  bool IsCensus() const { return handles.has_value(); }
};

// False for anything that is not one complete flat object.
bool ParseMeterLogRecord(const std::string& line, MeterLogRecord& record);
