#include "app/control_hit_test.h"

#include <gtest/gtest.h>

#include "support/control_record_builder.h"

namespace {

// A slot holding `control`.
ControlView View(const ControlRecord& control) {
  return {true, ComputeControlRect(control, 0)};
}

// The client area sits at 100, 200 on the screen.
ScreenPoint ToScreen(ScreenPoint client) {
  return {client.x + 100, client.y + 200};
}

// A push button at 10, 20, 30 x 40 in client pixels: 110, 220 to 140, 260 on the screen.
const ControlRecord BUTTON = SetUpControl(ControlKind::PUSHBUTTON, 10, 20, 30, 40);

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

}  // namespace
