#include "skin/readout_plan.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "support/profile_text.h"

namespace {

// The default skin's digits, bar and link.
ReadoutLayout DefaultLayout(const char* bar = "bar.bmp,26,114,224,7,28") {
  ProfileText ini("[Readout]\nDigits=digits.bmp,28,60,20,34,3,27\nLink=link.bmp,291,15,7,7\nBar=" +
                  std::string(bar));
  return ReadReadoutLayout(ini.Reader(), READOUT_SECTION);
}

ReadoutState StateOf(const char* figure, int32_t barPercent = 0) {
  ReadoutState state;
  std::snprintf(state.figure, sizeof state.figure, "%s", figure);
  state.barPercent = barPercent;
  return state;
}

// The digit strip's frames, left to right, and the lit pixels of the bar.
std::string Drawn(const ReadoutLayout& layout, const ReadoutState& state) {
  ReadoutPlan plan = PlanReadout(layout, state);
  std::string drawn;
  bool barLit = false;  // the bar's first copy is its lit part, from the full frame
  for (int32_t i = 0; i < plan.count; ++i) {
    const ReadoutBlit& blit = plan.blits[i];
    if (blit.part == READOUT_DIGITS) drawn += std::to_string(blit.sourceX / 20) + " ";
    if (blit.part != READOUT_BAR || barLit) continue;
    barLit = true;
    drawn += (blit.sourceX == 224 ? "lit " : "from the wrong frame ") +
             std::to_string(blit.target.right - blit.target.left);
  }
  return drawn;
}

TEST(ReadoutPlan, FigureGoesRightAlignedOnTheDigitsAndLightsTheBarInWholeSegments) {
  struct Case {
    const char* figure;
    int32_t barPercent;
    const char* drawn;
  } cases[] = {
      {"41", 41, "11 4 1 lit 88"},    // 11 of 28 segments
      {"88", 88, "11 8 8 lit 200"},   // 25 of 28
      {"100", 100, "1 0 0 lit 224"},  //
      {"255", 255, "2 5 5 lit 224"},  // held to 100
      {"0", -7, "11 11 0 lit 0"},     // held to 0
      {"---", 0, "10 10 10 lit 0"},   // no meter
      {"1234", 0, "10 10 10 lit 0"},  // more than the digits hold
      {"", 0, "11 11 11 lit 0"},      //
  };
  ReadoutLayout layout = DefaultLayout();
  for (const Case& c : cases) {
    EXPECT_EQ(Drawn(layout, StateOf(c.figure, c.barPercent)), c.drawn) << c.figure;
  }
  EXPECT_EQ(Drawn(DefaultLayout("bar.bmp,26,114,224,7"), StateOf("41", 41)), "11 4 1 lit 92")
      << "a bar without segments lights to the nearest pixel";
}

TEST(ReadoutPlan, AChangeRepaintsOnlyWhatItChanges) {
  ReadoutLayout layout = DefaultLayout();
  SkinRect changed[READOUT_MAX_CHANGES];
  ReadoutState before = StateOf("41", 41);
  EXPECT_EQ(ChangedReadoutRects(layout, nullptr, before, changed), 3 + 2 + 1) << "all at first";
  EXPECT_EQ(ChangedReadoutRects(layout, &before, before, changed), 0);

  ReadoutState after = before;
  after.figure[1] = '8';
  int32_t count = ChangedReadoutRects(layout, &before, after, changed);
  ASSERT_GT(count, 0);
  for (int32_t i = 0; i < count; ++i) {
    EXPECT_EQ(changed[i].left, 82) << "the last digit alone";
    EXPECT_EQ(changed[i].right, 102);
  }

  after = before;
  after.linked = true;
  count = ChangedReadoutRects(layout, &before, after, changed);
  ASSERT_GT(count, 0);
  for (int32_t i = 0; i < count; ++i) EXPECT_EQ(changed[i].left, 291) << "the link alone";

  after = before;
  after.warning = true;
  EXPECT_EQ(ChangedReadoutRects(layout, &before, after, changed), 0) << "a skin without a warning";
}

}  // namespace
