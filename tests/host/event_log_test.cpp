#include "log/event_log.h"

#include <gtest/gtest.h>

#include <string>

#include "log/log_line.h"
#include "log/log_rotation.h"
#include "support/logged_events.h"

namespace {

TEST(EventLog, TimeToTheMillisecondThenTheEventOnOneLine) {
  EXPECT_EQ(FormatLogLine({2026, 12, 7, 18, 30, 1, 123}, "Linked device 0"),
            "2026-12-07 18:30:01.123 Linked device 0\r\n");
  EXPECT_EQ(FormatLogLine({2027, 1, 2, 3, 4, 5, 6}, "key=a\r\nb\tc\x7F"),
            "2027-01-02 03:04:05.006 key=a  b c \r\n");
  EXPECT_EQ(FormatLogLine({}, std::string(LOG_TEXT_LIMIT + 50, 'x')).size(),
            24 + LOG_TEXT_LIMIT + 2)
      << "cut, line end kept";
}

TEST(EventLog, TheFileNeverPassesItsLimitUnlessOneLineDoes) {
  EXPECT_FALSE(RotationDue(LOG_ROTATE_BYTES - 80, 80));
  EXPECT_TRUE(RotationDue(LOG_ROTATE_BYTES - 79, 80));
  EXPECT_TRUE(RotationDue(LOG_ROTATE_BYTES + 5000, 80)) << "found too large at the start";
  EXPECT_FALSE(RotationDue(0, LOG_ROTATE_BYTES + 1)) << "an empty file takes any line";
}

TEST(EventLog, AFullQueueDropsLinesAndCountsThemWithoutWaking) {
  TakeLoggedEvents();
  static int wakes = 0;
  eventLog.wakeWriter = [] { ++wakes; };
  for (size_t i = 0; i < LOG_QUEUE_LINES + 3; ++i) LogEvent("event %zu", i);
  eventLog.wakeWriter = nullptr;
  EXPECT_EQ(wakes, static_cast<int>(LOG_QUEUE_LINES));
  std::vector<std::string> events = TakeLoggedEvents();
  ASSERT_EQ(events.size(), LOG_QUEUE_LINES + 1);
  EXPECT_EQ(events.front(), "event 0");
  EXPECT_EQ(events.back(), "3 lines were dropped: the log could not keep up");
  EXPECT_TRUE(TakeLoggedEvents().empty()) << "the count starts afresh";
}

// A crash report cannot wait for a lock its crashed thread may hold.
TEST(EventLog, TakingWithoutWaitingGivesUpOnAHeldQueue) {
  LogEvent("waiting");
  std::vector<std::string> lines;
  eventLog.lock.lock();
  EXPECT_FALSE(TakeLoggedLines(lines, false));
  eventLog.lock.unlock();
  EXPECT_TRUE(TakeLoggedLines(lines, false));
  EXPECT_EQ(lines.size(), 1u);
}

}  // namespace
