#include "windows/support/meter_log.h"

#include <fstream>
#include <sstream>

#include "windows/support/condition_wait.h"

MeterLogRecords MeterLog::Read() const {
  MeterLogRecords records;
  std::ifstream file(path_, std::ios::binary);
  if (!file) return records;
  std::stringstream content;
  content << file.rdbuf();
  std::string text = content.str();
  size_t start = 0;
  for (size_t end = text.find('\n'); end != std::string::npos; end = text.find('\n', start)) {
    MeterLogRecord record;
    if (ParseMeterLogRecord(text.substr(start, end - start), record)) records.push_back(record);
    start = end + 1;
  }
  return records;
}

bool MeterLog::WaitFor(const std::function<bool(const MeterLogRecords&)>& done,
                       int timeoutMs) const {
  return WaitUntil([&] { return done(Read()); }, timeoutMs);
}

MeterLogRecords MeterLog::WaitForCount(const std::function<bool(const MeterLogRecord&)>& match,
                                       size_t count, int timeoutMs) const {
  MeterLogRecords found;
  WaitFor(
      [&](const MeterLogRecords& records) {
        found = Select(records, match);
        return found.size() >= count;
      },
      timeoutMs);
  return found;
}

std::optional<MeterLogRecord> MeterLog::WaitForRecord(
    const std::function<bool(const MeterLogRecord&)>& match, int timeoutMs) const {
  MeterLogRecords found = WaitForCount(match, 1, timeoutMs);
  if (found.empty()) return std::nullopt;
  return found.front();
}

MeterLogRecords Select(const MeterLogRecords& records,
                       const std::function<bool(const MeterLogRecord&)>& match) {
  MeterLogRecords selected;
  for (const MeterLogRecord& record : records) {
    if (match(record)) selected.push_back(record);
  }
  return selected;
}
