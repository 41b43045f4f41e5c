#include "windows/support/meter_log.h"

#include <fstream>
#include <iterator>

#include "windows/support/condition_wait.h"

MeterLogRecords MeterLog::Read() const {
  uint64_t end = 0;
  return ReadFrom(0, &end);
}

MeterLogRecords MeterLog::ReadNew() {
  return ReadFrom(newFrom_, &newFrom_);
}

MeterLogRecords MeterLog::ReadFrom(uint64_t from, uint64_t* end) const {
  MeterLogRecords records;
  *end = from;
  std::ifstream file(path_, std::ios::binary);
  if (!file) return records;
  file.seekg(static_cast<std::streamoff>(from));
  std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  size_t start = 0;
  for (size_t stop = text.find('\n'); stop != std::string::npos; stop = text.find('\n', start)) {
    MeterLogRecord record;
    if (ParseMeterLogRecord(text.substr(start, stop - start), record)) records.push_back(record);
    start = stop + 1;
  }
  *end = from + start;  // a line still being written is read whole next time
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
