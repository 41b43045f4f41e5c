#include "app/temperature_warning.h"

#include <gtest/gtest.h>

#include "app/meter_status.h"

namespace {

constexpr WarningChange NONE = WarningChange::NONE;
constexpr WarningChange RAISED = WarningChange::RAISED;
constexpr WarningChange CLEARED = WarningChange::CLEARED;

TEST(TemperatureWarning, RaisedAndClearedByRunsOfPassesWithALiveReading) {
  struct Pass {
    int32_t reading;
    WarningChange change;
    bool fresh = true;
    bool linked = true;
    int32_t level = 80;
  } passes[] = {
      {80, NONE},  {85, NONE},   {79, NONE},  // a run of two, broken just below the level
      {80, NONE},  {81, NONE},   {82, RAISED},
      {95, NONE},                             // raised once, whatever the reading does
      {78, NONE},  {77, NONE},   {76, NONE},  // 78 is not 3 degrees below
      {79, NONE},  {70, NONE},   {70, NONE},  {70, CLEARED},  // 79 breaks the cool run
      // The level lowered under the reading, then raised well above it again.
      {70, NONE, true, true, 60}, {70, NONE, true, true, 60}, {70, RAISED, true, true, 60},
      {70, NONE},  {70, NONE},   {70, CLEARED},
      // A stale reading or no meter: no raising, the runs start over, a raised warning ends.
      {90, NONE},  {90, NONE},   {90, NONE, false}, {90, NONE},   {90, NONE},
      {90, RAISED}, {90, CLEARED, false},
      {90, NONE, false}, {90, NONE, false}, {90, NONE, false}, {90, NONE, false},
      {90, NONE},  {90, NONE},   {90, RAISED}, {90, CLEARED, true, false},
      {90, NONE, true, false}, {90, NONE, true, false}, {90, NONE, true, false},
  };
  TemperatureWarning warning;
  int step = 0;
  uint32_t raisings = 0;
  for (const Pass& p : passes) {
    PassOutcome outcome;
    outcome.temperature = p.reading;
    outcome.temperatureFresh = p.fresh;
    outcome.linked = p.linked;
    EXPECT_EQ(TrackTemperatureWarning(warning, outcome, p.level), p.change) << "pass " << step;
    if (p.change == RAISED) ++raisings;
    if (p.change != NONE) {
      EXPECT_EQ(warning.raised, p.change == RAISED) << "pass " << step;
    }
    ++step;
  }
  EXPECT_EQ(warning.raisings, raisings);
}

TEST(TemperatureWarning, EachRaisingIsToldOnceInWordsThatNameTheReadingAndTheLevel) {
  TemperatureWarning warning;
  PassOutcome hot;
  hot.itemType = ITEM_TEMPERATURE;
  hot.linked = hot.temperatureFresh = true;
  hot.temperature = hot.figure = 83;
  for (int i = 0; i < WARNING_PASSES; ++i) TrackTemperatureWarning(warning, hot, 80);
  EXPECT_TRUE(IsWarningUntold(warning, 0));
  EXPECT_FALSE(IsWarningUntold(warning, warning.raisings));

  char text[256];
  FormatWarningNotice(warning, "\xB0", text, sizeof text);
  EXPECT_STREQ(text, "Temperature 83 \xB0" "C is at or above the warning level of 80 \xB0" "C.");
  FormatTrayStatus(hot, warning, "\xB0", text, sizeof text);
  EXPECT_STREQ(text, "Warning: Temperature 83 \xB0" "C");
  EXPECT_TRUE(ReadoutStateOf(hot, warning.raised).warning);

  hot.temperature = hot.figure = 70;
  for (int i = 0; i < WARNING_PASSES; ++i) TrackTemperatureWarning(warning, hot, 80);
  EXPECT_FALSE(IsWarningUntold(warning, 0)) << "cleared";
  FormatTrayStatus(hot, warning, "\xB0", text, sizeof text);
  EXPECT_STREQ(text, "Temperature 70 \xB0" "C") << "the meter's status again";
}

}  // namespace
