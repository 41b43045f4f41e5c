#include "app/meter_status.h"

#include <gtest/gtest.h>

namespace {

TEST(MeterStatus, ReadoutAndTipShowTheFigureOfTheItemOrThatNoMeterIsLinked) {
  struct Case {
    int32_t itemType, figure;
    bool linked;
    const char* digits;
    ReadoutUnit unit;
    int32_t bar;
    const char* tip;
    bool fresh = true;  // the meter's reading
    int32_t fanMode = FAN_MANUAL;
    bool warning = false;
    bool driveUnavailable = false;
  } cases[] = {
      {ITEM_CPU_USAGE, 23, true, "23", ReadoutUnit::PERCENT, 23, "CPU Usage 23 %"},
      {ITEM_HDD_SPACE, 100, true, "100", ReadoutUnit::PERCENT, 100, "HDD Space 100 %"},
      {ITEM_PAGE_FILE_SPACE, 0, true, "0", ReadoutUnit::PERCENT, 0, "Page File Space 0 %"},
      {ITEM_TEMPERATURE, 41, true, "41", ReadoutUnit::DEGREES, 41,
       "Temperature 41 \xB0"
       "C"},
      {ITEM_TEMPERATURE, 130, true, "130", ReadoutUnit::DEGREES, 100,
       "Temperature 130 \xB0"
       "C"},
      {ITEM_FAN_SPEED, 75, true, "75", ReadoutUnit::FAN_SPEED, 75, "Fan Speed 75 %"},
      {ITEM_CPU_USAGE, 255, true, "255", ReadoutUnit::PERCENT, 100, "CPU Usage 255 %"},
      {ITEM_NONE, 0, true, "0", ReadoutUnit::NONE, 0, "None"},
      {-3, 0, true, "0", ReadoutUnit::NONE, 0, "None"},  // only a damaged record holds it
      {ITEM_TEMPERATURE, 41, false, "---", ReadoutUnit::DEGREES, 0, "No meter linked"},
      // A silent meter: what comes from its reading is unknown, and nothing else.
      {ITEM_TEMPERATURE, 41, true, "---", ReadoutUnit::DEGREES, 0, "Temperature: no reading",
       false},
      {ITEM_FAN_SPEED, 75, true, "---", ReadoutUnit::FAN_SPEED, 0, "Fan Speed: no reading", false,
       FAN_AUTO},
      // The warning, whatever the item, in place of its figure on the tip.
      {ITEM_CPU_USAGE, 23, true, "23", ReadoutUnit::PERCENT, 23, "Warning: Temperature 83 \xB0\x43",
       true, FAN_MANUAL, true},
      // The meter got 0 for a disk that cannot be read: no figure, rather than a full disk.
      {ITEM_HDD_SPACE, 0, true, "---", ReadoutUnit::PERCENT, 0, "HDD Space: drive unavailable",
       true, FAN_MANUAL, false, true},
      {ITEM_HDD_SPACE, 0, false, "---", ReadoutUnit::PERCENT, 0, "No meter linked", true,
       FAN_MANUAL, false, true},
  };
  for (const Case& c : cases) {
    PassOutcome outcome;
    outcome.itemType = c.itemType;
    outcome.figure = c.figure;
    outcome.linked = c.linked;
    outcome.temperatureFresh = c.fresh;
    outcome.fanMode = c.fanMode;
    outcome.driveUnavailable = c.driveUnavailable;
    ReadoutState state = ReadoutStateOf(outcome, c.warning);
    EXPECT_STREQ(state.figure, c.digits) << c.tip;
    EXPECT_EQ(state.unit, c.unit) << c.tip;
    EXPECT_EQ(state.barPercent, c.bar) << c.tip;
    EXPECT_EQ(state.linked, c.linked) << c.tip;
    EXPECT_EQ(state.warning, c.warning) << c.tip;
    char line[64];
    FormatTrayStatus(outcome, TemperatureWarning{c.warning, 1, 83, 80}, "\xB0", line, sizeof line);
    EXPECT_STREQ(line, c.tip);
  }
}

}  // namespace
