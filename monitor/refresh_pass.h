#pragma once
// One refresh pass: sample the chosen figure and send the meter its four frames. The pass asks
// the system for what it needs through RefreshSystem, so it runs the same against Windows and
// against a test's fake.
#include <cstdint>

#include "meter/meter_frame.h"
#include "monitor/pass_outcome.h"
#include "settings/settings_records.h"

struct ClockTime {
  int32_t hour = 0;
  int32_t minute = 0;
};

struct SpaceFigures {
  uint64_t total = 0;  // 0 when the query failed
  uint64_t available = 0;
};

struct MemoryFigures {
  SpaceFigures physical;
  SpaceFigures pageFile;
};

struct TemperatureSample {
  int32_t degrees = 0;  // the meter's last reading
  bool fresh = false;   // brought by a packet less than READING_STALE_MS ago
};

class RefreshSystem {
 public:
  virtual ~RefreshSystem() = default;
  virtual void StopRefreshTimer() = 0;
  virtual ClockTime ReadLocalTime() = 0;
  virtual int32_t TakeCpuSample() = 0;
  virtual SpaceFigures QueryDiskSpace(char driveLetter) = 0;
  virtual MemoryFigures QueryMemory() = 0;
  virtual TemperatureSample ReadTemperature() = 0;
  virtual bool IsMeterLinked() = 0;
  virtual void SendFrame(const MeterFrame& frame) = 0;
  virtual void StartRefreshTimer() = 0;
};

// A figure worked out for the meter. A disk that cannot be read (no volume behind the letter, or
// no letter at all) gives 0, and says so.
struct ItemFigure {
  int32_t value = 0;
  bool driveUnavailable = false;
};

// The figure for `itemType` with the record's options; the temperature is the meter's last
// reading.
ItemFigure WorkOutFigure(RefreshSystem& system, int32_t itemType, const DisplayItemRecord& display,
                         const SystemControlRecord& control, int32_t cpuUsage, int32_t temperature);

// Runs one pass over the live records. Each field is read at the step that uses it, so an edit
// made by a settings dialog while the pass runs shows in the frames sent after the read. Returns
// what the pass sent, as read at those steps.
PassOutcome RunRefreshPass(RefreshSystem& system, const DisplayItemRecord& display,
                           const SystemControlRecord& control);
