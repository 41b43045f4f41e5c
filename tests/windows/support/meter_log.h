#pragma once
// Reads the virtual meter's log back as records, and waits for what a test expects to find there.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "support/meter_log_record.h"

using MeterLogRecords = std::vector<MeterLogRecord>;

class MeterLog {
 public:
  explicit MeterLog(std::string path) : path_(std::move(path)) {}

  const std::string& Path() const { return path_; }

  // Every complete line written so far; a line still being written is left for the next read.
  MeterLogRecords Read() const;
  // The complete lines written since the last call (every one at the first), for a reader that
  // follows a long log as it grows.
  MeterLogRecords ReadNew();

  // Waits until `done` holds for the records written so far; false on time-out.
  bool WaitFor(const std::function<bool(const MeterLogRecords&)>& done,
               int timeoutMs = DEFAULT_TIMEOUT_MS) const;

  // Waits until `count` records match; returns every match found by then.
  MeterLogRecords WaitForCount(const std::function<bool(const MeterLogRecord&)>& match,
                               size_t count, int timeoutMs = DEFAULT_TIMEOUT_MS) const;

  // The first record that matches, waiting for it.
  std::optional<MeterLogRecord> WaitForRecord(
      const std::function<bool(const MeterLogRecord&)>& match,
      int timeoutMs = DEFAULT_TIMEOUT_MS) const;

  static constexpr int DEFAULT_TIMEOUT_MS = 3000;

 private:
  // The records of the complete lines from byte `from` on; `end` receives where they stop.
  MeterLogRecords ReadFrom(uint64_t from, uint64_t* end) const;

  std::string path_;
  uint64_t newFrom_ = 0;
};

MeterLogRecords Select(const MeterLogRecords& records,
                       const std::function<bool(const MeterLogRecord&)>& match);

// Matchers for the usual questions: any frame, the frames of one bridge, the calls of one
// library function for one bridge.
inline bool AnyFrame(const MeterLogRecord& record) {
  return record.IsFrame();
}

inline auto FrameOf(int64_t index) {
  return
      [index](const MeterLogRecord& record) { return record.IsFrame() && record.index == index; };
}

// A write the meter never took: to a bridge closed, or absent.
inline bool IsLostWrite(const MeterLogRecord& record) {
  return record.error.find("is lost") != std::string::npos;
}

inline auto CallOf(const char* function, int64_t index) {
  return [function, index](const MeterLogRecord& record) {
    return record.IsCall(function) && record.index == index;
  };
}
