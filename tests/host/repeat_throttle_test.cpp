#include "log/repeat_throttle.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr int64_t MINUTE = REPEAT_REPORT_PERIOD_MS;
enum Action { NOTE, TAKE_DUE };
struct Step {
  Action action;
  int64_t atMs;
  uint32_t told;  // the count a line tells then, 0 for no line
};

// A line per nibble or per pass would fill the log; failures that stop must still be counted.
TEST(RepeatThrottle, FirstFailureAtOnceThenOneLineAMinuteWithTheCount) {
  const std::vector<std::vector<Step>> cases = {
      // the first at once, the rest of the minute held
      {{NOTE, 1000, 1}, {NOTE, 1001, 0}, {NOTE, 30000, 0}, {TAKE_DUE, 30000, 0}},
      // a minute on, the failure that comes tells the count
      {{NOTE, 0, 1}, {NOTE, 10, 0}, {NOTE, 20, 0}, {NOTE, MINUTE, 3}, {NOTE, MINUTE + 1, 0}},
      // failures that stop are told once their minute is up, and only once
      {{NOTE, 0, 1},
       {NOTE, 5, 0},
       {TAKE_DUE, MINUTE - 1, 0},
       {TAKE_DUE, MINUTE, 1},
       {TAKE_DUE, 5 * MINUTE, 0}},
      // after a quiet minute a failure is told at once again
      {{NOTE, 0, 1}, {NOTE, 3 * MINUTE, 1}, {NOTE, 3 * MINUTE + 2, 0}},
  };
  for (size_t c = 0; c < cases.size(); ++c) {
    RepeatThrottle throttle;
    for (const Step& s : cases[c]) {
      uint32_t told = s.action == NOTE ? throttle.Note(s.atMs) : throttle.TakeDue(s.atMs);
      EXPECT_EQ(told, s.told) << "case " << c << " at " << s.atMs;
    }
  }
}

}  // namespace
