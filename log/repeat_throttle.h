#pragma once
// Repeated failures of one kind (a write to the meter that fails, say) told without flooding the
// log: the first at once, then at most one line a period, each with the count since the line
// before. Plain logic; not thread-safe, its owner holds a lock or keeps it to one thread.
#include <cstdint>

constexpr int64_t REPEAT_REPORT_PERIOD_MS = 60000;

class RepeatThrottle {
 public:
  // One more failure at `nowMs` (a steady clock). Returns how many failures a line tells now, or
  // 0 when the line waits: a failure after a quiet period is told at once, as the first was.
  uint32_t Note(int64_t nowMs);
  // Failures not told yet, due once a period has passed since the last line (0: none due), so
  // that the last ones are told even when the failures stop.
  uint32_t TakeDue(int64_t nowMs);
  // Every failure not told yet, whatever the time: for when what failed goes away.
  uint32_t TakeAll();
  bool Pending() const { return pending_ > 0; }

 private:
  uint32_t Tell(int64_t nowMs);

  bool told_ = false;
  int64_t lastLineMs_ = 0;
  uint32_t pending_ = 0;
};
