#include "log/repeat_throttle.h"

uint32_t RepeatThrottle::Note(int64_t nowMs) {
  if (pending_ < UINT32_MAX) ++pending_;
  if (told_ && nowMs - lastLineMs_ < REPEAT_REPORT_PERIOD_MS) return 0;
  return Tell(nowMs);
}

uint32_t RepeatThrottle::TakeDue(int64_t nowMs) {
  if (pending_ == 0 || nowMs - lastLineMs_ < REPEAT_REPORT_PERIOD_MS) return 0;
  return Tell(nowMs);
}

uint32_t RepeatThrottle::TakeAll() {
  uint32_t count = pending_;
  pending_ = 0;
  return count;
}

uint32_t RepeatThrottle::Tell(int64_t nowMs) {
  uint32_t count = pending_;
  pending_ = 0;
  told_ = true;
  lastLineMs_ = nowMs;
  return count;
}
