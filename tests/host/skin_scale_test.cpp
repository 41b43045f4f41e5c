#include "skin/skin_scale.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <tuple>

namespace {

TEST(SkinScale, CoordinatesScaleByTheDpiToTheNearestPixel) {
  struct Case {
    int32_t value, dpi, scaled;
  } cases[] = {
      // clang-format off
      {420, 96, 420}, {420, 144, 630}, {420, 192, 840}, {7, 144, 11}, {336, 168, 588},
      {150, 120, 188},  // 187.5: halves go up
      {-7, 144, -10},   // up for negative places too: no seam at 0
      {420, 10, 210}, {420, 5000, 4200},  // DPIs held to 48 ... 960
      {INT32_MAX, 192, INT32_MAX}, {INT32_MIN, 192, INT32_MIN},
      // clang-format on
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ScaleToDpi(c.value, c.dpi), c.scaled) << c.value << " at " << c.dpi;
  }
}

// Scaled by their edges, controls that touch in the skin still touch, and a point is in one of them
// at most; scaled by their sizes, a 7-pixel control at 3 would end at 16 on a 150 % display, over
// its neighbour from 15 on.
TEST(SkinScale, RectanglesScaleByTheirEdges) {
  struct Case {
    SkinRect rect;
    int32_t dpi;
    SkinRect scaled;
  } cases[] = {
      {{3, 3, 10, 10}, 144, {5, 5, 15, 15}},
      {{10, 3, 17, 10}, 144, {15, 5, 26, 15}},
      {{336, 92, 400, 132}, 144, {504, 138, 600, 198}},  // the default skin's quit control
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ScaleRectToDpi(c.rect, c.dpi), c.scaled)
        << c.rect.left << "," << c.rect.top << " at " << c.dpi;
  }
}

TEST(SkinScale, ADpiChangeTakesTheSuggestedCornerAndTheSkinsSizeAtTheNewDpi) {
  struct Case {
    const char* name;
    int32_t skinWidth, skinHeight, dpi;
    SkinRect suggested, placed;
  } cases[] = {
      {"onto a 150 % monitor", 420, 150, 144, {1920, 100, 2550, 325}, {1920, 100, 2550, 325}},
      {"back to 100 %", 420, 150, 96, {10, 20, 640, 245}, {10, 20, 430, 170}},
      // Windows 8.1 suggests the old size stretched (187.5 cut to 187); the skin's own rounding
      // keeps every move between the same monitors at one size.
      {"to 125 %", 420, 150, 120, {-800, 0, -275, 187}, {-800, 0, -275, 188}},
      {"no main background", 0, 0, 144, {5, 6, 998, 351}, {5, 6, 998, 351}},
  };
  for (const Case& c : cases) {
    SkinRect placed = RescaledWindowRect(c.skinWidth, c.skinHeight, c.dpi, c.suggested);
    EXPECT_EQ(placed, c.placed) << c.name;
  }
}

TEST(SkinScale, ReadoutPartsScaleByTheirEdgesAndDigitsByTheirStep) {
  ReadoutLayout layout;
  layout.parts[READOUT_DIGITS] = {true, "digits.bmp", 28, 60, 20, 34, 3, 27, 0};
  layout.parts[READOUT_BAR] = {true, "bar.bmp", 26, 114, 224, 7, 1, 0, 28};
  struct Case {
    int32_t dpi;
    ReadoutPart digits, bar;  // the scaled places, sizes and steps
  } cases[] = {
      {144, {true, "", 42, 90, 30, 51, 3, 41, 0}, {true, "", 39, 171, 336, 11, 1, 0, 28}},
      {192, {true, "", 56, 120, 40, 68, 3, 54, 0}, {true, "", 52, 228, 448, 14, 1, 0, 28}},
  };
  for (const Case& c : cases) {
    ReadoutLayout scaled = ScaleReadoutLayout(layout, c.dpi);
    auto numbers = [](const ReadoutPart& part) {
      return std::tuple(part.x, part.y, part.width, part.height, part.step, part.segments);
    };
    EXPECT_EQ(numbers(scaled.parts[READOUT_DIGITS]), numbers(c.digits)) << c.dpi;
    EXPECT_EQ(numbers(scaled.parts[READOUT_BAR]), numbers(c.bar)) << c.dpi;
    EXPECT_FALSE(scaled.parts[READOUT_FACE].present);
  }
}

TEST(SkinScale, ArtComesFromTheNearestSetStretchedOnlyWhenItMustBe) {
  struct Case {
    int32_t dpi;
    bool twiceSizeArt;
    int32_t artScale;
    ArtStretch stretch;
  } cases[] = {
      {96, false, 1, ArtStretch::AS_IS},    {96, true, 1, ArtStretch::AS_IS},
      {120, false, 1, ArtStretch::SMOOTH},  {120, true, 2, ArtStretch::SMOOTH},
      {144, false, 1, ArtStretch::SMOOTH},  {144, true, 2, ArtStretch::SMOOTH},
      {192, false, 1, ArtStretch::NEAREST}, {192, true, 2, ArtStretch::AS_IS},
      {288, false, 1, ArtStretch::NEAREST}, {288, true, 2, ArtStretch::SMOOTH},
      {384, true, 2, ArtStretch::NEAREST},  {72, true, 1, ArtStretch::SMOOTH},
  };
  for (const Case& c : cases) {
    ArtChoice choice = ChooseArt(c.dpi, c.twiceSizeArt);
    EXPECT_EQ(choice.artScale, c.artScale) << c.dpi << (c.twiceSizeArt ? " with 2x" : "");
    EXPECT_EQ(choice.stretch, c.stretch) << c.dpi << (c.twiceSizeArt ? " with 2x" : "");
  }
}

TEST(SkinScale, EachFrameOfAStripFillsItsOwnCell) {
  struct Case {
    const char* name;
    int32_t stripWidth, stripHeight, frameWidth, frameHeight, frames, cellWidth, cellHeight;
    int32_t width, height;            // of the stretched strip
    SkinRect lastSource, lastTarget;  // of its last frame
    int32_t count;
  } cases[] = {
      // clang-format off
      {"button strip at 150 %", 256, 40, 64, 40, 4, 96, 60, 384, 60,
       {192, 0, 256, 40}, {288, 0, 384, 60}, 4},
      // A cell one pixel wider than 1.5 frames: frame 3 still starts at 3 cells.
      {"odd frame at 150 %", 28, 7, 7, 7, 4, 11, 11, 44, 11, {21, 0, 28, 7}, {33, 0, 44, 11}, 4},
      {"strip short of its last frame", 200, 40, 64, 40, 4, 96, 60, 384, 60,
       {192, 0, 200, 40}, {288, 0, 300, 60}, 4},
      {"strip short of two frames", 128, 40, 64, 40, 4, 128, 80, 512, 80,
       {64, 0, 128, 40}, {128, 0, 256, 80}, 2},
      {"strip taller than its frames", 64, 50, 64, 40, 1, 96, 60, 96, 75,
       {0, 0, 64, 50}, {0, 0, 96, 75}, 1},
      {"more frames than a strip may show", 1300, 10, 100, 10, 13, 200, 20, 2400, 20,
       {1100, 0, 1200, 10}, {2200, 0, 2400, 20}, 12},
      {"frame of no width", 256, 40, 0, 40, 4, 96, 60, 0, 0, {}, {}, 0},
      {"cells too large to make", 256, 40, 64, 40, 4, 100000, 100000, 0, 0, {}, {}, 0},
      // clang-format on
  };
  for (const Case& c : cases) {
    StripStretch plan = PlanStripStretch(c.stripWidth, c.stripHeight, c.frameWidth, c.frameHeight,
                                         c.frames, c.cellWidth, c.cellHeight);
    EXPECT_EQ(plan.width, c.width) << c.name;
    EXPECT_EQ(plan.height, c.height) << c.name;
    ASSERT_EQ(plan.count, c.count) << c.name;
    if (plan.count == 0) continue;
    EXPECT_EQ(plan.frames[plan.count - 1].source, c.lastSource) << c.name;
    EXPECT_EQ(plan.frames[plan.count - 1].target, c.lastTarget) << c.name;
    for (int32_t i = 0; i < plan.count; ++i) {
      EXPECT_EQ(plan.frames[i].target.left, i * c.cellWidth) << c.name << " frame " << i;
    }
  }
}

}  // namespace
