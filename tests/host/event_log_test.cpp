#include "log/log_line.h"

#include <gtest/gtest.h>

#include <string>

#include "log/event_log.h"
#include "log/log_rotation.h"
#include "support/logged_events.h"

namespace {

TEST(LogLine, TimeToTheMillisecondThenTheEventOnOneLine) {
  struct Case {
    LogTime time;
    std::string text;
    std::string line;
  } cases[] = {
      {{2026, 12, 7, 18, 30, 1, 123},
       "Linked device 0",
       "2026-12-07 18:30:01.123 Linked device 0\r\n"},
      {{2027, 1, 2, 3, 4, 5, 6}, "padded", "2027-01-02 03:04:05.006 padded\r\n"},
      {{2026, 12, 7, 0, 0, 0, 0}, "key=a\r\nb\tc\x7F", "2026-12-07 00:00:00.000 key=a  b c \r\n"},
  };
  for (const Case& c : cases) EXPECT_EQ(FormatLogLine(c.time, c.text), c.line) << c.text;
  std::string longText(LOG_TEXT_LIMIT + 50, 'x');
  EXPECT_EQ(FormatLogLine({}, longText).size(), 24 + LOG_TEXT_LIMIT + 2) << "cut, line end kept";
}

TEST(LogRotation, TheFileNeverPassesTheLimitUnlessOneLineDoes) {
  struct Case {
    uint64_t fileBytes;
    uint64_t lineBytes;
    bool due;
  } cases[] = {
      {0, 80, false},
      {LOG_ROTATE_BYTES - 80, 80, false},
      {LOG_ROTATE_BYTES - 79, 80, true},
      {LOG_ROTATE_BYTES + 5000, 80, true},  // found too large at the start
      {0, LOG_ROTATE_BYTES + 1, false},     // an empty file takes any line
  };
  for (const Case& c : cases) {
    EXPECT_EQ(RotationDue(c.fileBytes, c.lineBytes), c.due) << c.fileBytes << " + " << c.lineBytes;
  }
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

TEST(EventLog, ACrashReportDoesNotWaitForAQueueHeldElsewhere) {
  LogEvent("waiting");
  std::vector<std::string> lines;
  {
    std::lock_guard<std::mutex> held(eventLog.lock);
    EXPECT_FALSE(TakeLoggedLines(lines, false));
  }
  EXPECT_TRUE(TakeLoggedLines(lines, false));
  EXPECT_EQ(lines.size(), 1u);
}

}  // namespace
