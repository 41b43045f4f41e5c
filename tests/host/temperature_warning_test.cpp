#include "app/temperature_warning.h"

#include <gtest/gtest.h>

namespace {

using enum WarningChange;

// Runs of passes at one reading: each pass of a run changes nothing but the last, which makes
// the change given. Each raising is to be told once.
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
  for (const Run& run : runs) {
    PassOutcome outcome{
        .linked = run.linked, .temperature = run.reading, .temperatureFresh = run.fresh};
    for (int pass = 1; pass <= run.passes; ++pass) {
      EXPECT_EQ(TrackTemperatureWarning(warning, outcome, 80), pass == run.passes ? run.last : NONE)
          << run.reading << " pass " << pass;
    }
    EXPECT_EQ(IsWarningUntold(warning, told), run.last == RAISED) << run.reading;
    told = warning.raisings;
  }
}

}  // namespace
