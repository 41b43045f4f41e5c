#include "app/temperature_warning.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/logged_events.h"

namespace {

using enum WarningChange;

// Runs of passes at one reading: each pass of a run changes nothing but the last, which makes
// the change given. Each raising is to be told once, and each change logged once.
TEST(TemperatureWarning, RaisedAndClearedByRunsOfPassesWithAFreshReading) {
  struct Run {
    int32_t reading, passes;
    WarningChange last;
    bool fresh = true, linked = true;
  } runs[] = {
      // clang-format off
      // Two at the level, broken just below it; then raised once, whatever the reading does.
      {80, 2, NONE}, {79, 1, NONE}, {80, 3, RAISED}, {95, 1, NONE},
      // 78 is not 3 degrees below, 77 is; 79 breaks the cool run.
      {78, 1, NONE}, {77, 2, NONE}, {79, 1, NONE}, {77, 3, CLEARED},
      // Without a fresh reading: no raising, the runs start over, a raised warning ends.
      {90, 2, NONE}, {90, 1, NONE, false}, {90, 3, RAISED}, {90, 1, CLEARED, false},
      {90, 3, RAISED}, {90, 1, CLEARED, true, false}, {90, 3, NONE, true, false},
      // clang-format on
  };
  TemperatureWarning warning;
  uint32_t told = 0;
  TakeLoggedEvents();
  for (const Run& run : runs) {
    PassOutcome outcome{
        .linked = run.linked, .temperature = run.reading, .temperatureFresh = run.fresh};
    for (int pass = 1; pass <= run.passes; ++pass) {
      WarningChange change = TrackTemperatureWarning(warning, outcome, 80);
      EXPECT_EQ(change, pass == run.passes ? run.last : NONE) << run.reading << " pass " << pass;
      LogWarningChange(change, warning, outcome);
    }
    EXPECT_EQ(IsWarningUntold(warning, told), run.last == RAISED) << run.reading;
    told = warning.raisings;
  }
  const std::string raised = "Temperature warning raised: the meter reads ";
  const std::string cleared = "Temperature warning cleared: ";
  EXPECT_EQ(TakeLoggedEvents(),
            (std::vector<std::string>{raised + "80 C, the warning level is 80 C",
                                      cleared + "the meter reads 77 C, the warning level is 80 C",
                                      raised + "90 C, the warning level is 80 C",
                                      cleared + "the meter has stopped sending its temperature",
                                      raised + "90 C, the warning level is 80 C",
                                      cleared + "no meter linked"}));
}

}  // namespace
