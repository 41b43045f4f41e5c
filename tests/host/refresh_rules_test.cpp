#include "monitor/refresh_rules.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

namespace {

TEST(RefreshRules, FanSpeedInAutoModeFollowsTheTemperature) {
  struct Case {
    int32_t temperature, figure;
  } cases[] = {{9, 50}, {10, 50}, {11, 50}, {45, 75}, {79, 99}, {80, 100}, {255, 100}, {0, 50}};
  for (const Case& c : cases)
    EXPECT_EQ(FanSpeedFigure(FAN_AUTO, c.temperature, 10, 80, 65), c.figure) << c.temperature;
}

TEST(RefreshRules, FanSpeedInOtherModes) {
  EXPECT_EQ(FanSpeedFigure(FAN_MANUAL, 40, 10, 80, 65), 65);
  EXPECT_EQ(FanSpeedFigure(FAN_OFF, 40, 10, 80, 65), 0);
  EXPECT_EQ(FanSpeedFigure(7, 40, 10, 80, 65), 65);  // a stored mode outside 0..2 acts as manual
}

TEST(RefreshRules, FanSpeedWithDamagedThresholdsStaysDefined) {
  const int32_t lowest = std::numeric_limits<int32_t>::min();
  const int32_t highest = std::numeric_limits<int32_t>::max();
  // (35 - lowest) * 50 overflows 32 bits: 35 lies just past the middle of the whole range.
  EXPECT_EQ(FanSpeedFigure(FAN_AUTO, 35, lowest, highest, 0), 75);
  EXPECT_EQ(FanSpeedFigure(FAN_AUTO, 35, 80, 10, 0), 50);   // reversed: below low
  EXPECT_EQ(FanSpeedFigure(FAN_AUTO, 90, 80, 10, 0), 100);  // reversed: at or above high
  EXPECT_EQ(FanSpeedFigure(FAN_AUTO, 40, 40, 40, 0), 100);  // equal thresholds
}

TEST(RefreshRules, PercentagesRoundHalvesUp) {
  EXPECT_EQ(SpaceFigure(8000, 1000, true), 88);   // 87.5 used
  EXPECT_EQ(SpaceFigure(8000, 1000, false), 13);  // 12.5 available
  EXPECT_EQ(SpaceFigure(200, 1, false), 1);       // 0.5
  EXPECT_EQ(SpaceFigure(1000, 1000, true), 0);
  EXPECT_EQ(SpaceFigure(1000, 1000, false), 100);
  EXPECT_EQ(SpaceFigure(UINT64_MAX, UINT64_MAX / 2, false), 50);
}

TEST(RefreshRules, FailedQueriesShowZero) {
  EXPECT_EQ(PercentageOf(0, 0), 0);
  EXPECT_EQ(SpaceFigure(0, 0, true), 0);
  EXPECT_EQ(SpaceFigure(0, 0, false), 0);
  // More available than total: held at the total, so nothing is shown as used.
  EXPECT_EQ(SpaceFigure(100, 500, false), 100);
  EXPECT_EQ(SpaceFigure(100, 500, true), 0);
  EXPECT_EQ(PercentageOf(500, 100), 100);
}

TEST(RefreshRules, DailyWindows) {
  const int32_t from2200 = MinuteOfDay(22, 0), to0600 = MinuteOfDay(6, 0);
  struct Case {
    int32_t from, to, now;
    bool inside;
  } cases[] = {
      {from2200, to0600, MinuteOfDay(22, 0), true},
      {from2200, to0600, MinuteOfDay(23, 59), true},
      {from2200, to0600, MinuteOfDay(0, 0), true},
      {from2200, to0600, MinuteOfDay(5, 59), true},
      {from2200, to0600, MinuteOfDay(6, 0), false},
      {from2200, to0600, MinuteOfDay(21, 59), false},
      {MinuteOfDay(0, 0), MinuteOfDay(23, 59), MinuteOfDay(23, 59), false},
      {MinuteOfDay(0, 0), MinuteOfDay(23, 59), MinuteOfDay(0, 0), true},
      {MinuteOfDay(8, 0), MinuteOfDay(8, 0), MinuteOfDay(8, 0), false},
      {MinuteOfDay(8, 0), MinuteOfDay(8, 0), MinuteOfDay(20, 0), false},
  };
  for (const Case& c : cases)
    EXPECT_EQ(IsInsideDailyWindow(c.from, c.to, c.now), c.inside)
        << c.from << "-" << c.to << " @" << c.now;
}

TEST(RefreshRules, BacklightByMode) {
  for (int32_t hour = 0; hour < 24; ++hour) {
    EXPECT_EQ(BacklightState(BACKLIGHT_ALWAYS, 0, 0, MinuteOfDay(hour, 0)), 1);
    EXPECT_EQ(BacklightState(BACKLIGHT_OFF, 0, 24 * 60, MinuteOfDay(hour, 0)), 0);
  }
  EXPECT_EQ(BacklightState(BACKLIGHT_WINDOW, 60, 120, 90), 1);
  EXPECT_EQ(BacklightState(5, 60, 120, 90), 1);  // any other stored mode uses the window
  EXPECT_EQ(BacklightState(5, 60, 120, 150), 0);
}

TEST(RefreshRules, FanValue) {
  EXPECT_EQ(FanValue(FAN_OFF, 65), 0);
  EXPECT_EQ(FanValue(FAN_MANUAL, 65), 65);
  EXPECT_EQ(FanValue(FAN_AUTO, 65), 1);
  EXPECT_EQ(FanValue(-3, 65), 1);
}

}  // namespace
