#include "settings/fan_backlight_rules.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>

namespace {

constexpr int32_t END_SCROLL = 8;  // SB_ENDSCROLL, which follows every click

SystemControlRecord TypicalRecord() {
  SystemControlRecord record{};
  record.panelMode = 1;
  record.backlightMode = 2;
  record.fanMode = 2;
  record.backlightFrom.wHour = 7;
  record.backlightFrom.wMinute = 5;
  record.backlightTo.wHour = 23;
  record.backlightTo.wMinute = 59;
  record.backlightTo.wSecond = 59;
  record.lowThreshold = 10;
  record.highThreshold = 80;
  record.fanRatio = 100;
  return record;
}

bool SameBytes(const SystemControlRecord& a, const SystemControlRecord& b) {
  return std::memcmp(&a, &b, sizeof a) == 0;
}

std::string Describe(const SystemControlRecord& r) {
  char text[200];
  snprintf(text, sizeof text, "from %u:%u to %u:%u low %d high %d ratio %d", r.backlightFrom.wHour,
           r.backlightFrom.wMinute, r.backlightTo.wHour, r.backlightTo.wMinute, r.lowThreshold,
           r.highThreshold, r.fanRatio);
  return text;
}

// One arrow message on a record, and the whole record it must leave: nothing else may change.
struct ArrowCase {
  const char* name;
  void (*prepare)(SystemControlRecord&);
  ArrowTarget target;
  int32_t selectionStart;
  int32_t code;
  void (*expect)(SystemControlRecord&);
  EditSelection selection;
};

constexpr EditSelection HOURS{0, 2};
constexpr EditSelection MINUTES{3, 5};
constexpr EditSelection WHOLE{0, -1};

const ArrowCase ARROW_CASES[] = {
    {"down at 00:00 with the caret in the hours stays 00:00",
     [](SystemControlRecord& r) { r.backlightFrom.wHour = 0, r.backlightFrom.wMinute = 0; },
     ArrowTarget::BACKLIGHT_FROM, 0, ARROW_DOWN,
     [](SystemControlRecord& r) { r.backlightFrom.wHour = 0, r.backlightFrom.wMinute = 0; }, HOURS},
    {"up at 00:00 with the caret before the colon gives 01:00",
     [](SystemControlRecord& r) { r.backlightFrom.wHour = 0, r.backlightFrom.wMinute = 0; },
     ArrowTarget::BACKLIGHT_FROM, 2, ARROW_UP,
     [](SystemControlRecord& r) { r.backlightFrom.wHour = 1, r.backlightFrom.wMinute = 0; }, HOURS},
    {"up on the minute of 23:59 wraps to 23:00 without carrying", nullptr,
     ArrowTarget::BACKLIGHT_TO, 3, ARROW_UP,
     [](SystemControlRecord& r) { r.backlightTo.wMinute = 0; }, MINUTES},
    {"caret at the end also works on the minute", nullptr, ArrowTarget::BACKLIGHT_TO, 5, ARROW_DOWN,
     [](SystemControlRecord& r) { r.backlightTo.wMinute = 58; }, MINUTES},
    {"up on the hour of 23:59 wraps to 00:59", nullptr, ArrowTarget::BACKLIGHT_TO, 1, ARROW_UP,
     [](SystemControlRecord& r) { r.backlightTo.wHour = 0; }, HOURS},
    {"down on a zero minute stays", [](SystemControlRecord& r) { r.backlightFrom.wMinute = 0; },
     ArrowTarget::BACKLIGHT_FROM, 4, ARROW_DOWN,
     [](SystemControlRecord& r) { r.backlightFrom.wMinute = 0; }, MINUTES},
    {"an hour of 65535 steps up as 16 bits: to 0, not 65536 mod 24",
     [](SystemControlRecord& r) { r.backlightFrom.wHour = 65535; }, ArrowTarget::BACKLIGHT_FROM, 0,
     ARROW_UP, [](SystemControlRecord& r) { r.backlightFrom.wHour = 0; }, HOURS},
    {"the end of a click steps nothing", nullptr, ArrowTarget::BACKLIGHT_FROM, 4, END_SCROLL,
     nullptr, MINUTES},
    {"up on the low threshold", nullptr, ArrowTarget::LOW_THRESHOLD, 0, ARROW_UP,
     [](SystemControlRecord& r) { r.lowThreshold = 11; }, WHOLE},
    {"the low threshold stops one below the high one",
     [](SystemControlRecord& r) { r.lowThreshold = 79; }, ArrowTarget::LOW_THRESHOLD, 0, ARROW_UP,
     [](SystemControlRecord& r) { r.lowThreshold = 79; }, WHOLE},
    {"the low threshold does not go below 10", nullptr, ArrowTarget::LOW_THRESHOLD, 2, ARROW_DOWN,
     nullptr, WHOLE},
    {"the high threshold does not go above 80", nullptr, ArrowTarget::HIGH_THRESHOLD, 0, ARROW_UP,
     nullptr, WHOLE},
    {"down on the high threshold", nullptr, ArrowTarget::HIGH_THRESHOLD, 0, ARROW_DOWN,
     [](SystemControlRecord& r) { r.highThreshold = 79; }, WHOLE},
    {"10 and 11: down on the high one keeps 11 and 10",
     [](SystemControlRecord& r) { r.highThreshold = 11; }, ArrowTarget::HIGH_THRESHOLD, 0,
     ARROW_DOWN, [](SystemControlRecord& r) { r.highThreshold = 11; }, WHOLE},
    {"lowering the high threshold onto the low one pushes the low one down",
     [](SystemControlRecord& r) { r.lowThreshold = 40, r.highThreshold = 41; },
     ArrowTarget::HIGH_THRESHOLD, 0, ARROW_DOWN,
     [](SystemControlRecord& r) { r.lowThreshold = 39, r.highThreshold = 40; }, WHOLE},
    {"a ratio of 50 stays on the down arrow", [](SystemControlRecord& r) { r.fanRatio = 50; },
     ArrowTarget::FAN_RATIO, 0, ARROW_DOWN, [](SystemControlRecord& r) { r.fanRatio = 50; }, WHOLE},
    {"a ratio of 100 stays on the up arrow", nullptr, ArrowTarget::FAN_RATIO, 0, ARROW_UP, nullptr,
     WHOLE},
    {"down on the ratio", nullptr, ArrowTarget::FAN_RATIO, 0, ARROW_DOWN,
     [](SystemControlRecord& r) { r.fanRatio = 99; }, WHOLE},
    // Page Up and Page Down step by ten under the same rules.
    {"page up on the hour of 20:00 wraps to 06:00",
     [](SystemControlRecord& r) { r.backlightFrom.wHour = 20; }, ArrowTarget::BACKLIGHT_FROM, 0,
     PAGE_UP, [](SystemControlRecord& r) { r.backlightFrom.wHour = 6; }, HOURS},
    {"page down on a ratio of 55 stops at 50", [](SystemControlRecord& r) { r.fanRatio = 55; },
     ArrowTarget::FAN_RATIO, 0, PAGE_DOWN, [](SystemControlRecord& r) { r.fanRatio = 50; }, WHOLE},
};

TEST(FanBacklightArrows, EachClickChangesItsTargetWithinRangeAndNothingElse) {
  for (const ArrowCase& c : ARROW_CASES) {
    SystemControlRecord record = TypicalRecord();
    if (c.prepare) c.prepare(record);
    SystemControlRecord expected = record;
    if (c.expect) c.expect(expected);

    EditSelection selection = ApplyArrowClick(record, c.target, c.selectionStart, c.code);

    EXPECT_TRUE(SameBytes(record, expected))
        << c.name << ": " << Describe(record) << ", expected " << Describe(expected);
    EXPECT_EQ(selection.start, c.selection.start) << c.name;
    EXPECT_EQ(selection.end, c.selection.end) << c.name;
  }
}

TEST(FanBacklightArrows, UpOnTheLowThresholdUntilItStopsEndsAt79) {
  SystemControlRecord record = TypicalRecord();
  for (int click = 0; click < 100; ++click) {
    ApplyArrowClick(record, ArrowTarget::LOW_THRESHOLD, 0, ARROW_UP);
    ApplyArrowClick(record, ArrowTarget::LOW_THRESHOLD, 0, END_SCROLL);
  }
  EXPECT_EQ(record.lowThreshold, 79);
  EXPECT_EQ(record.highThreshold, 80);
}

TEST(FanBacklightArrows, FirstMessageOfAnyKindBringsTheAllZeroRecordIntoRange) {
  const ArrowTarget targets[] = {ArrowTarget::BACKLIGHT_FROM, ArrowTarget::BACKLIGHT_TO,
                                 ArrowTarget::LOW_THRESHOLD, ArrowTarget::HIGH_THRESHOLD,
                                 ArrowTarget::FAN_RATIO};
  for (ArrowTarget target : targets) {
    SystemControlRecord record{};
    ApplyArrowClick(record, target, 0, END_SCROLL);
    EXPECT_EQ(record.lowThreshold, 10);
    EXPECT_EQ(record.highThreshold, 11);
    EXPECT_EQ(record.fanRatio, 50);
  }
}

TEST(FanBacklightArrows, StepIsUnsigned16Bit) {
  EXPECT_EQ(StepArrow(65535, ARROW_UP), 0);
  EXPECT_EQ(StepArrow(0, ARROW_DOWN), 0);
  EXPECT_EQ(StepArrow(1, ARROW_DOWN), 0);
  EXPECT_EQ(StepArrow(7, END_SCROLL), 7);
  EXPECT_EQ(StepArrow(7, 5), 7);  // SB_THUMBPOSITION and the rest step nothing
  EXPECT_EQ(StepArrow(65530, PAGE_UP), 4);
  EXPECT_EQ(StepArrow(7, PAGE_DOWN), 0);
}

struct ClampCase {
  const char* name;
  int32_t low, high, ratio;
  int32_t wantLow, wantHigh, wantRatio;
};

TEST(ClampSystemControl, AppliesTheThresholdRulesOnceInOrder) {
  const ClampCase cases[] = {
      {"in range stays", 30, 60, 75, 30, 60, 75},
      {"low above high drops below it", 50, 40, 75, 39, 40, 75},
      {"equal below 10: low to 10, high above it", 5, 5, 75, 10, 11, 75},
      {"high above 80 comes down", 30, 95, 75, 30, 80, 75},
      {"one pass leaves a low above the capped high", 100, 200, 75, 100, 80, 75},
      {"ratio 51 stays", 30, 60, 51, 30, 60, 51},
      {"ratio above 100", 30, 60, 101, 30, 60, 100},
      {"negative ratio", 30, 60, -5, 30, 60, 50},
  };
  for (const ClampCase& c : cases) {
    SystemControlRecord record = TypicalRecord();
    record.lowThreshold = c.low;
    record.highThreshold = c.high;
    record.fanRatio = c.ratio;
    ClampSystemControl(record);
    EXPECT_EQ(record.lowThreshold, c.wantLow) << c.name;
    EXPECT_EQ(record.highThreshold, c.wantHigh) << c.name;
    EXPECT_EQ(record.fanRatio, c.wantRatio) << c.name;
  }
}

constexpr int32_t MIN = INT32_MIN;
constexpr int32_t MAX = INT32_MAX;
constexpr int32_t EDGES[] = {MIN, -1, 0, 9, 10, 11, 79, 80, 81, MAX};
constexpr size_t EDGE_COUNT = sizeof EDGES / sizeof EDGES[0];

// One pass over every pair of EDGES: ONE_PASS[low][high] = {low, high} after it. Only a high of
// INT32_MIN used to wrap (to low INT32_MAX, high INT32_MIN, on every pass); it now meets the
// range like any other high below 10.
// clang-format off
const int32_t ONE_PASS[EDGE_COUNT][EDGE_COUNT][2] = {
    // high: MIN       -1        0         9        10        11
    //       79        80        81        MAX
    {{10, 11}, {10, 11}, {10, 11}, {10, 11}, {10, 11}, {10, 11},  // low MIN
     {10, 79}, {10, 80}, {10, 80}, {10, 80}},
    {{10, 11}, {10, 11}, {10, 11}, {10, 11}, {10, 11}, {10, 11},  // low -1
     {10, 79}, {10, 80}, {10, 80}, {10, 80}},
    {{10, 11}, {10, 11}, {10, 11}, {10, 11}, {10, 11}, {10, 11},  // low 0
     {10, 79}, {10, 80}, {10, 80}, {10, 80}},
    {{10, 11}, {10, 11}, {10, 11}, {10, 11}, {10, 11}, {10, 11},  // low 9
     {10, 79}, {10, 80}, {10, 80}, {10, 80}},
    {{10, 11}, {10, 11}, {10, 11}, {10, 11}, {10, 11}, {10, 11},  // low 10
     {10, 79}, {10, 80}, {10, 80}, {10, 80}},
    {{10, 11}, {10, 11}, {10, 11}, {10, 11}, {10, 11}, {10, 11},  // low 11
     {11, 79}, {11, 80}, {11, 80}, {11, 80}},
    {{10, 11}, {10, 11}, {10, 11}, {10, 11}, {10, 11}, {10, 11},  // low 79
     {78, 79}, {79, 80}, {79, 80}, {79, 80}},
    {{10, 11}, {10, 11}, {10, 11}, {10, 11}, {10, 11}, {10, 11},  // low 80
     {78, 79}, {79, 80}, {80, 80}, {80, 80}},
    {{10, 11}, {10, 11}, {10, 11}, {10, 11}, {10, 11}, {10, 11},  // low 81
     {78, 79}, {79, 80}, {80, 80}, {81, 80}},
    {{10, 11}, {10, 11}, {10, 11}, {10, 11}, {10, 11}, {10, 11},  // low MAX
     {78, 79}, {79, 80}, {80, 80}, {MAX - 1, 80}},
};
// clang-format on

TEST(ClampSystemControl, ExtremePairsOnePassThenTwoPassesInRange) {
  for (size_t l = 0; l < EDGE_COUNT; ++l) {
    for (size_t h = 0; h < EDGE_COUNT; ++h) {
      SystemControlRecord record = TypicalRecord();
      record.lowThreshold = EDGES[l];
      record.highThreshold = EDGES[h];
      std::string pair = std::to_string(EDGES[l]) + ", " + std::to_string(EDGES[h]);
      ClampSystemControl(record);
      EXPECT_EQ(record.lowThreshold, ONE_PASS[l][h][0]) << pair;
      EXPECT_EQ(record.highThreshold, ONE_PASS[l][h][1]) << pair;
      ClampSystemControl(record);
      EXPECT_TRUE(record.lowThreshold >= 10 && record.lowThreshold < record.highThreshold &&
                  record.highThreshold <= 80)
          << pair << ": " << Describe(record);
      SystemControlRecord settled = record;
      ClampSystemControl(settled);
      EXPECT_TRUE(SameBytes(settled, record)) << pair << ": a third pass changes nothing";
    }
  }
}

TEST(ClampSystemControl, SecondPassSettlesWhatTheFirstLeft) {
  SystemControlRecord record = TypicalRecord();
  record.lowThreshold = 100;
  record.highThreshold = 200;
  ClampSystemControl(record);
  ClampSystemControl(record);
  EXPECT_EQ(record.lowThreshold, 79);
  EXPECT_EQ(record.highThreshold, 80);
}

TEST(ClampSystemControl, WrapsOnlyTheHourAndMinuteOfBothTimes) {
  SystemControlRecord record = TypicalRecord();
  record.backlightFrom = {2024, 5, 3, 17, 24, 60, 42, 999};
  record.backlightTo = {1, 2, 3, 4, 47, 119, 59, 7};
  SystemControlRecord expected = record;
  expected.backlightFrom.wHour = 0;
  expected.backlightFrom.wMinute = 0;
  expected.backlightTo.wHour = 23;
  expected.backlightTo.wMinute = 59;
  ClampSystemControl(record);
  EXPECT_TRUE(SameBytes(record, expected)) << Describe(record);
}

TEST(BacklightTimeText, TwoDigitsAtLeastAndEveryDigitOfLargeValues) {
  const struct {
    uint16_t hour, minute;
    const char* text;
  } cases[] = {
      {7, 5, "07:05"},  {23, 59, "23:59"}, {0, 0, "00:00"},    {10, 9, "10:09"},
      {9, 10, "09:10"}, {24, 60, "24:60"}, {100, 5, "100:05"}, {65535, 65535, "65535:65535"}};
  for (const auto& c : cases) {
    RecordTime time{};
    time.wHour = c.hour;
    time.wMinute = c.minute;
    char text[BACKLIGHT_TIME_TEXT_SIZE];
    FormatBacklightTime(time, text);
    EXPECT_STREQ(text, c.text);
  }
}

struct RowsCase {
  int32_t fanMode;
  const char16_t* labels[FAN_VALUE_ROWS];
  bool enabled[FAN_VALUE_ROWS];
};

TEST(FanValueRows, LabelsAndEnablingFollowTheFanMode) {
  const RowsCase cases[] = {
      {0,
       {u"50% Speed at(\u2103):", u"100% Speed at(\u2103):", u"Fan Speed Ratio(%):"},
       {false, false, false}},
      {1, {u"", u"Warning at(\u2103):", u"Fan Speed Ratio(%):"}, {false, true, true}},
      {2, {u"50% Speed at(\u2103):", u"100% Speed at(\u2103):", u""}, {true, true, false}},
  };
  for (const RowsCase& c : cases) {
    FanValueRows view = FanValueRowsFor(c.fanMode);
    ASSERT_TRUE(view.known) << c.fanMode;
    for (int row = 0; row < FAN_VALUE_ROWS; ++row) {
      ASSERT_NE(view.rows[row].label, nullptr);
      EXPECT_EQ(std::u16string(view.rows[row].label), c.labels[row])
          << "mode " << c.fanMode << " row " << row;
      EXPECT_EQ(view.rows[row].enabled, c.enabled[row]) << "mode " << c.fanMode << " row " << row;
    }
  }
}

TEST(FanValueRows, AnyOtherModeLeavesTheRowsAsTheyAre) {
  for (int32_t mode : {3, -1, INT32_MAX, INT32_MIN}) EXPECT_FALSE(FanValueRowsFor(mode).known);
}

}  // namespace
