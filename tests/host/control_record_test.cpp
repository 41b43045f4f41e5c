#include <gtest/gtest.h>

#include <climits>

#include "skin/control_record.h"
#include "support/control_record_builder.h"

namespace {

TEST(ControlRect, FollowsTheKindsRule) {
  struct Case {
    const char* name;
    ControlRecord control;
    size_t textLength;
    SkinRect rect;
  } cases[] = {
      {"push button", SetUpControl(ControlKind::PUSHBUTTON, 10, 20, 30, 15), 0, {10, 20, 40, 35}},
      {"image ignores text", SetUpControl(ControlKind::IMAGE, 0, 0, 8, 9), 50, {0, 0, 8, 9}},
      // (3 * 9) / 5 truncates to 5 before the multiplication: 35, not 37.
      {"text of 3", SetUpControl(ControlKind::TEXT, 0, 0, 7, 12), 3, {0, 0, 35, 12}},
      {"text .\\skin\\CPU", SetUpControl(ControlKind::TEXT, 5, 5, 6, 12), 10, {5, 5, 113, 17}},
      {"empty text", SetUpControl(ControlKind::TEXT, 4, 4, 6, 12), 0, {4, 4, 4, 16}},
      {"negative size", SetUpControl(ControlKind::PUSHBUTTON, 10, 10, -5, -5), 0, {10, 10, 5, 5}},
      {"right edge pinned",
       SetUpControl(ControlKind::PUSHBUTTON, INT32_MAX - 1, INT32_MAX, 100, 100),
       0,
       {INT32_MAX - 1, INT32_MAX, INT32_MAX, INT32_MAX}},
      {"left edge pinned",
       SetUpControl(ControlKind::PUSHBUTTON, INT32_MIN, 0, INT32_MIN, 0),
       0,
       {INT32_MIN, 0, INT32_MIN, 0}},
      {"huge text", SetUpControl(ControlKind::TEXT, 0, 0, INT32_MAX, 1), 255, {0, 0, INT32_MAX, 1}},
  };
  for (const Case& c : cases) {
    SkinRect rect = ComputeControlRect(c.control, c.textLength);
    EXPECT_EQ(rect.left, c.rect.left) << c.name;
    EXPECT_EQ(rect.top, c.rect.top) << c.name;
    EXPECT_EQ(rect.right, c.rect.right) << c.name;
    EXPECT_EQ(rect.bottom, c.rect.bottom) << c.name;
  }
}

TEST(ControlRect, TextWidthUsesCharWidthNotWidth) {
  ControlRecord control = SetUpControl(ControlKind::TEXT, 0, 0, 6, 12);
  control.width = 1000;
  EXPECT_EQ(ComputeControlRect(control, 10).right, 108);
}

TEST(ControlRect, ContainsLeftAndTopEdgesOnly) {
  SkinRect rect{10, 20, 40, 35};
  struct Case {
    int32_t x, y;
    bool inside;
  } cases[] = {
      {10, 20, true}, {39, 34, true},  {40, 20, false}, {10, 35, false},
      {9, 20, false}, {10, 19, false}, {25, 27, true},
  };
  for (const Case& c : cases)
    EXPECT_EQ(RectContains(rect, c.x, c.y), c.inside) << c.x << "," << c.y;
  EXPECT_FALSE(RectContains(SkinRect{10, 10, 5, 5}, 7, 7)) << "inverted rectangles hold nothing";
}

TEST(ControlFrame, ChoiceFollowsKindCheckAndFrame3) {
  struct Case {
    const char* name;
    ControlKind kind;
    ControlState state;
    int32_t checked;
    int32_t showFrame3;
    int32_t frame;
  } cases[] = {
      {"push normal", ControlKind::PUSHBUTTON, ControlState::NORMAL, 0, 0, 0},
      {"push hover", ControlKind::PUSHBUTTON, ControlState::HOVER, 0, 0, 1},
      {"push pressed", ControlKind::PUSHBUTTON, ControlState::PRESSED, 0, 0, 2},
      {"image pressed", ControlKind::IMAGE, ControlState::PRESSED, 0, 0, 0},
      {"radio checked normal", ControlKind::RADIOBOX, ControlState::NORMAL, 1, 0, 2},
      {"radio checked hover", ControlKind::RADIOBOX, ControlState::HOVER, 1, 0, 2},
      {"check unchecked hover", ControlKind::CHECKBOX, ControlState::HOVER, 0, 0, 1},
      {"check checked normal", ControlKind::CHECKBOX, ControlState::NORMAL, 1, 0, 2},
      {"push ignores checked", ControlKind::PUSHBUTTON, ControlState::NORMAL, 1, 0, 0},
      {"frame 3 over image", ControlKind::IMAGE, ControlState::NORMAL, 0, 1, 3},
      {"frame 3 over checked", ControlKind::RADIOBOX, ControlState::HOVER, 1, 1, 3},
  };
  for (const Case& c : cases) {
    ControlRecord control = SetUpControl(c.kind, 0, 0, 10, 10);
    control.state = c.state;
    control.checked = c.checked;
    control.showFrame3 = c.showFrame3;
    EXPECT_EQ(ChooseFrame(control), c.frame) << c.name;
  }
}

TEST(ControlFrame, SourceXStaysInRange) {
  EXPECT_EQ(FrameSourceX(2, 40), 80);
  EXPECT_EQ(FrameSourceX(3, INT32_MAX), INT32_MAX);
  EXPECT_EQ(FrameSourceX(3, INT32_MIN), INT32_MIN);
}

}  // namespace
