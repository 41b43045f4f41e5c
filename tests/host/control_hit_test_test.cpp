#include "app/control_hit_test.h"

#include <gtest/gtest.h>

#include "support/control_record_builder.h"

namespace {

// A slot holding `control`, showing a text of `textLength` characters.
ControlView View(const ControlRecord& control, size_t textLength = 0) {
  return {true, ComputeControlRect(control, textLength)};
}

// The client area sits at 100, 200 on the screen.
ScreenPoint ToScreen(ScreenPoint client) {
  return {client.x + 100, client.y + 200};
}

// A push button at 10, 20, 30 x 40 in client pixels: 110, 220 to 140, 260 on the screen.
const ControlRecord BUTTON = SetUpControl(ControlKind::PUSHBUTTON, 10, 20, 30, 40);

TEST(CommandControlHitTest, LeftAndTopEdgesAreInsideRightAndBottomOutside) {
  ControlView slots[] = {View(BUTTON)};
  struct Case {
    ScreenPoint cursor;
    bool over;
  } cases[] = {
      {{110, 220}, true},   // top-left corner
      {{139, 259}, true},   // last pixel inside
      {{140, 230}, false},  // right edge
      {{120, 260}, false},  // bottom edge
      {{109, 230}, false},  // just left
      {{120, 219}, false},  // just above
      {{10, 20}, false},    // the client coordinates themselves
  };
  for (const Case& c : cases) {
    EXPECT_EQ(IsOverCommandControl(slots, 1, ToScreen, c.cursor), c.over)
        << c.cursor.x << "," << c.cursor.y;
  }
}

TEST(CommandControlHitTest, OnlyTheFirstFourSlotsBelowTheCountAreTested) {
  ControlRecord elsewhere = SetUpControl(ControlKind::PUSHBUTTON, 300, 300, 10, 10);
  ScreenPoint onButton = {115, 225};
  struct Case {
    const char* name;
    int slotWithButton;
    int32_t controlCount;
    bool over;
  } cases[] = {
      {"first slot", 0, 5, true},          // the setup command
      {"fourth slot", 3, 4, true},         // the quit command
      {"fifth slot", 4, 5, false},         // not a command control
      {"slot at the count", 2, 2, false},  // a slot left over from a larger skin
      {"no controls", 0, 0, false},
  };
  for (const Case& c : cases) {
    ControlView slots[5];
    for (ControlView& slot : slots) slot = View(elsewhere);
    slots[c.slotWithButton] = View(BUTTON);
    EXPECT_EQ(IsOverCommandControl(slots, c.controlCount, ToScreen, onButton), c.over) << c.name;
  }
}

TEST(CommandControlHitTest, EmptySlotCountsAsNotHit) {
  ControlView slots[] = {ControlView{}, View(BUTTON)};
  EXPECT_FALSE(IsOverCommandControl(slots, 2, ToScreen, {105, 205}));
  EXPECT_TRUE(IsOverCommandControl(slots, 2, ToScreen, {115, 225}));
}

TEST(CommandControlHitTest, TextWidthTruncatesBeforeTheCharacterWidth) {
  // 7 characters: (7 * 9) / 5 = 12 character widths of 5 pixels, 60 in all (not 63).
  ControlRecord text = SetUpControl(ControlKind::TEXT, 0, 0, 5, 12);
  ControlView slots[] = {View(text, 7)};
  EXPECT_TRUE(IsOverCommandControl(slots, 1, ToScreen, {159, 205}));
  EXPECT_FALSE(IsOverCommandControl(slots, 1, ToScreen, {160, 205}));
  EXPECT_FALSE(IsOverCommandControl(slots, 1, ToScreen, {162, 205}));
  ControlView empty[] = {View(text, 0)};
  EXPECT_FALSE(IsOverCommandControl(empty, 1, ToScreen, {100, 205})) << "no width, no hit";
}

}  // namespace
