#include "soak/soak_log.h"

#include <windows.h>

#include <string>

namespace {

bool IsLostWrite(const MeterLogRecord& record) {
  return record.error.find("is lost") != std::string::npos;
}

std::string Describe(const MeterLogRecord& record) {
  return "t_ms " + std::to_string(record.tMs) + " bridge " +
         std::to_string(record.index.value_or(-1)) + ": " + record.error +
         (record.frame.empty() ? "" : " " + record.frame);
}

}  // namespace

std::vector<MeterLogRecord> LogTail::TakeNew() {
  std::vector<MeterLogRecord> records;
  std::ifstream file(path_, std::ios::binary);
  if (!file) return records;
  file.seekg(static_cast<std::streamoff>(offset_));
  std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  size_t start = 0;
  for (size_t end = text.find('\n'); end != std::string::npos; end = text.find('\n', start)) {
    MeterLogRecord record;
    if (ParseMeterLogRecord(text.substr(start, end - start), record)) records.push_back(record);
    start = end + 1;
  }
  offset_ += start;  // a line still being written is read whole next time
  return records;
}

void SoakLog::Update() {
  for (const MeterLogRecord& record : tail_.TakeNew()) Take(record);
}

void SoakLog::Take(const MeterLogRecord& record) {
  if (record.IsCensus()) {
    int64_t leaked = record.wineSpoolerMutexes.value_or(0);
    samples_.push_back({record.tMs, *record.handles - leaked, leaked, *record.gdi, *record.user,
                        *record.privateKb, *record.workingSetKb});
    return;
  }
  if (record.IsFrame()) ++frames_;
  if (record.IsCall("CH341SetExclusive")) ++(record.exclusive.value_or(0) ? links_ : releases_);
  if (!record.index || *record.index < 0 || *record.index >= BRIDGES) return;
  int index = static_cast<int>(*record.index);
  if (record.present) {
    bool plugged = *record.present != 0;
    if (index == 0 && plugged && pulled_) ++cycles_;
    if (index == 0) pulled_ = !plugged;
    present_[index] = plugged;
    removalSeen_[index] = false;
    return;
  }
  if (record.IsCall("CH341GetStatus") && record.result == 0 && !present_[index] &&
      !removalSeen_[index]) {
    removalSeen_[index] = true;
    ++removalsSeen_;
    return;
  }
  if (IsLostWrite(record)) {
    ++lostWrites_;
    if (removalSeen_[index]) writesAfterSeen_.push_back(Describe(record));
    return;
  }
  if (record.IsError()) brokenFrames_.push_back(Describe(record));
}
