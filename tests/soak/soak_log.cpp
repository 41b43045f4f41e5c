#include "soak/soak_log.h"

#include <windows.h>

#include <string>

namespace {

std::string Describe(const MeterLogRecord& record) {
  return "t_ms " + std::to_string(record.tMs) + " bridge " +
         std::to_string(record.index.value_or(-1)) + ": " + record.error +
         (record.frame.empty() ? "" : " " + record.frame);
}

}  // namespace

void SoakLog::Update() {
  for (const MeterLogRecord& record : log_.ReadNew()) Take(record);
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
