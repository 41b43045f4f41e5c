#include "skin/control_interaction.h"

#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <vector>

#include "support/control_record_builder.h"

namespace {

struct Effect {
  enum Type { INVALIDATE, COMMAND, DRAG } type;
  int32_t index = 0;  // COMMAND: the index sent
  SkinRect rect;      // INVALIDATE: the rectangle
};

bool operator==(const Effect& a, const Effect& b) {
  if (a.type != b.type) return false;
  if (a.type == Effect::COMMAND) return a.index == b.index;
  if (a.type == Effect::INVALIDATE) {
    return a.rect.left == b.rect.left && a.rect.top == b.rect.top && a.rect.right == b.rect.right &&
           a.rect.bottom == b.rect.bottom;
  }
  return true;
}

std::ostream& operator<<(std::ostream& out, const Effect& effect) {
  if (effect.type == Effect::COMMAND) return out << "command(" << effect.index << ")";
  if (effect.type == Effect::DRAG) return out << "drag";
  return out << "invalidate(" << effect.rect.left << "," << effect.rect.top << ","
             << effect.rect.right << "," << effect.rect.bottom << ")";
}

class Recorder : public PollEffects {
 public:
  void Invalidate(const SkinRect& rect) override {
    effects.push_back({Effect::INVALIDATE, 0, rect});
  }
  void SendCommand(int32_t index) override {
    effects.push_back({Effect::COMMAND, index, {}});
    if (onCommand) onCommand(index);
  }
  void StartDrag() override { effects.push_back({Effect::DRAG, 0, {}}); }

  std::vector<Effect> effects;
  std::function<void(int32_t)> onCommand;
};

class PollTick : public ::testing::Test {
 protected:
  // A control as Setup leaves it: NORMAL, with no state before.
  int32_t Add(ControlKind kind, int32_t x, int32_t y, int32_t width, int32_t height) {
    return Put(controlCount++, kind, x, y, width, height);
  }
  int32_t Put(int32_t slot, ControlKind kind, int32_t x, int32_t y, int32_t width, int32_t height) {
    ControlRecord& control = controls[slot];
    control = SetUpControl(kind, x, y, width, height);
    control.index = slot;
    slots[slot].control = &control;
    // A TEXT control here shows five characters, so it is nine character widths wide.
    slots[slot].rect = ComputeControlRect(control, kind == ControlKind::TEXT ? 5 : 0);
    return slot;
  }

  // A tick at this place in a 200 x 100 window.
  PollSample Sample(int32_t x, int32_t y, bool down) const {
    PollSample sample;
    sample.cursorX = x;
    sample.cursorY = y;
    sample.clientWidth = 200;
    sample.clientHeight = 100;
    sample.buttonDown = down;
    sample.controlCount = controlCount;
    sample.dragEnabled = dragEnabled;
    return sample;
  }

  std::vector<Effect> Tick(int32_t x, int32_t y, bool down) {
    recorder.effects.clear();
    RunPollTick(Sample(x, y, down), slots, lastRadioIndex, recorder);
    return recorder.effects;
  }

  // Commands sent over a run of ticks at one place.
  std::vector<int32_t> Commands(int32_t x, int32_t y, bool down, int ticks = 1) {
    std::vector<int32_t> commands;
    for (int i = 0; i < ticks; ++i) {
      for (const Effect& effect : Tick(x, y, down)) {
        if (effect.type == Effect::COMMAND) commands.push_back(effect.index);
      }
    }
    return commands;
  }

  // Whether the poll may rest after a tick at this place, in a 200 x 100 window.
  bool MayRest(int32_t x, int32_t y, bool down, bool pollable = true) const {
    return MayPollRest(pollable, Sample(x, y, down), slots);
  }

  Effect Invalidated(int32_t slot) const { return {Effect::INVALIDATE, 0, slots[slot].rect}; }
  static Effect Command(int32_t index) { return {Effect::COMMAND, index, {}}; }
  static Effect Drag() { return {Effect::DRAG, 0, {}}; }

  ControlRecord controls[SKIN_MAX_CONTROLS];
  PolledSlot slots[SKIN_MAX_CONTROLS];
  int32_t controlCount = 0;
  int32_t dragEnabled = 1;
  int32_t lastRadioIndex = -1;
  Recorder recorder;
};

using S = ControlState;

TEST_F(PollTick, ClickTraceTickByTick) {
  int32_t button = Add(ControlKind::PUSHBUTTON, 10, 10, 40, 20);
  const ControlRecord& c = controls[button];
  struct Step {
    bool on;
    bool down;
    S state;
    S previous;
    int32_t changed;
    std::vector<Effect> effects;
  } steps[] = {
      {true, false, S::HOVER, S::NORMAL, 1, {Invalidated(button)}},
      {true, false, S::HOVER, S::HOVER, 1, {Invalidated(button)}},
      {true, true, S::PRESSED, S::HOVER, 1, {Invalidated(button)}},
      {true, true, S::PRESSED, S::PRESSED, 1, {Invalidated(button)}},
      {true, true, S::PRESSED, S::PRESSED, 0, {}},
      {true, false, S::HOVER, S::HOVER, -1, {Invalidated(button), Command(button)}},
      {false, false, S::NORMAL, S::HOVER, 1, {Invalidated(button)}},
      {false, false, S::NORMAL, S::NORMAL, 1, {Invalidated(button)}},
      {false, false, S::NORMAL, S::NORMAL, 0, {}},
  };
  int tick = 0;
  for (const Step& step : steps) {
    ++tick;
    std::vector<Effect> effects = Tick(step.on ? 20 : 100, 15, step.down);
    EXPECT_EQ(c.state, step.state) << "tick " << tick;
    EXPECT_EQ(c.previousState, step.previous) << "tick " << tick;
    EXPECT_EQ(c.changed, step.changed) << "tick " << tick;
    EXPECT_EQ(effects, step.effects) << "tick " << tick;
  }
}

TEST_F(PollTick, OneTickPressIsReportedOneTickLate) {
  int32_t button = Add(ControlKind::PUSHBUTTON, 0, 0, 10, 10);
  Commands(5, 5, false, 3);
  EXPECT_TRUE(Commands(5, 5, true).empty());
  EXPECT_TRUE(Commands(5, 5, false).empty()) << "the release tick itself leaves changed 0";
  EXPECT_EQ(controls[button].changed, 0);
  EXPECT_EQ(Commands(5, 5, false), std::vector<int32_t>{button});
}

TEST_F(PollTick, OneTickPressIsLostWhenTheCursorLeavesBeforeItIsReported) {
  Add(ControlKind::PUSHBUTTON, 0, 0, 10, 10);
  Commands(5, 5, false, 3);
  Commands(5, 5, true);
  Commands(5, 5, false);
  EXPECT_TRUE(Commands(50, 50, false, 3).empty());
}

TEST_F(PollTick, SlideOntoATouchingNeighbourClicksOnlyTheNeighbour) {
  int32_t first = Add(ControlKind::PUSHBUTTON, 0, 0, 20, 20);
  int32_t second = Add(ControlKind::PUSHBUTTON, 20, 0, 20, 20);
  std::vector<int32_t> commands = Commands(10, 10, false, 2);
  for (int32_t c : Commands(10, 10, true, 2)) commands.push_back(c);
  std::vector<Effect> slide = Tick(20, 10, true);
  EXPECT_EQ(slide, (std::vector<Effect>{Invalidated(first), Invalidated(second)}))
      << "no drag while the cursor is on a control";
  for (int32_t c : Commands(20, 10, true, 2)) commands.push_back(c);
  for (int32_t c : Commands(20, 10, false, 2)) commands.push_back(c);
  EXPECT_EQ(commands, std::vector<int32_t>{second});
  EXPECT_EQ(controls[first].state, S::NORMAL);
}

TEST_F(PollTick, EveryKindSendsItsIndexOnAClick) {
  struct Case {
    ControlKind kind;
    std::vector<int32_t> commands;
  } cases[] = {
      {ControlKind::PUSHBUTTON, {0}}, {ControlKind::IMAGE, {0}},       {ControlKind::TEXT, {0}},
      {ControlKind::CHECKBOX, {0}},   {ControlKind::RADIOBOX, {0, 0}},
  };
  for (const Case& c : cases) {
    controlCount = 0;
    lastRadioIndex = -1;
    Add(c.kind, 0, 0, 10, 10);
    std::vector<int32_t> commands = Commands(5, 5, false, 2);
    for (int32_t command : Commands(5, 5, true, 2)) commands.push_back(command);
    for (int32_t command : Commands(5, 5, false, 2)) commands.push_back(command);
    EXPECT_EQ(commands, c.commands) << static_cast<int>(c.kind);
  }
}

TEST_F(PollTick, RadioPressTakesTheCheckAndSendsBeforeTheClickCompletes) {
  int32_t left = Add(ControlKind::RADIOBOX, 0, 0, 10, 10);
  int32_t right = Add(ControlKind::RADIOBOX, 20, 0, 10, 10);
  controls[left].checked = 1;
  Commands(25, 5, false, 2);
  EXPECT_EQ(Tick(25, 5, true), (std::vector<Effect>{Invalidated(left), Invalidated(right),
                                                    Command(right), Invalidated(right)}));
  EXPECT_EQ(controls[left].checked, 0);
  EXPECT_EQ(controls[right].checked, 1);
  EXPECT_EQ(lastRadioIndex, right);
  Tick(25, 5, true);
  EXPECT_EQ(Tick(25, 5, false), (std::vector<Effect>{Invalidated(right), Command(right)}));
  EXPECT_EQ(controls[right].checked, 1) << "a radio box does not toggle";
}

TEST_F(PollTick, PressingTheLastPressedRadioAgainSendsOnlyOnCompletion) {
  int32_t radio = Add(ControlKind::RADIOBOX, 0, 0, 10, 10);
  Commands(5, 5, false, 2);
  EXPECT_EQ(Commands(5, 5, true, 2), std::vector<int32_t>{radio});
  EXPECT_EQ(Commands(5, 5, false, 2), std::vector<int32_t>{radio});
  EXPECT_TRUE(Commands(5, 5, true, 2).empty());
  EXPECT_EQ(Commands(5, 5, false, 2), std::vector<int32_t>{radio});
  EXPECT_EQ(controls[radio].checked, 1);
}

TEST_F(PollTick, RadioPressLeavesOtherGroupsAlone) {
  int32_t other = Add(ControlKind::RADIOBOX, 0, 0, 10, 10);
  int32_t pressed = Add(ControlKind::RADIOBOX, 20, 0, 10, 10);
  controls[other].checked = 1;
  controls[other].group = 1;
  Commands(25, 5, false, 2);
  Commands(25, 5, true);
  EXPECT_EQ(controls[other].checked, 1);
  EXPECT_EQ(controls[pressed].checked, 1);
}

TEST_F(PollTick, CheckBoxHandlerSeesTheValueBeforeTheToggle) {
  int32_t box = Add(ControlKind::CHECKBOX, 0, 0, 10, 10);
  std::vector<int32_t> seen;
  recorder.onCommand = [&](int32_t index) { seen.push_back(controls[index].checked); };
  for (int click = 0; click < 2; ++click) {
    Commands(5, 5, false, 2);
    Commands(5, 5, true, 2);
    EXPECT_EQ(Tick(5, 5, false),
              (std::vector<Effect>{Invalidated(box), Command(box), Invalidated(box)}));
  }
  EXPECT_EQ(seen, (std::vector<int32_t>{0, 1}));
  EXPECT_EQ(controls[box].checked, 0);
}

TEST_F(PollTick, HeldPushButtonRepeatsAfterItsDelay) {
  struct Case {
    int32_t interval;
    std::vector<int> pressTicks;  // ticks of the press that send the command
  } cases[] = {
      {1, {32, 34, 36, 38, 40}},
      {3, {34, 38}},
      {10, {}},
      {0, {}},
  };
  for (const Case& c : cases) {
    controlCount = 0;
    int32_t button = Add(ControlKind::PUSHBUTTON, 0, 0, 10, 10);
    controls[button].repeatInterval = c.interval;
    Commands(5, 5, false, 2);
    std::vector<int> sent;
    for (int tick = 1; tick <= 40; ++tick) {
      if (!Commands(5, 5, true).empty()) sent.push_back(tick);
    }
    EXPECT_EQ(sent, c.pressTicks) << "interval " << c.interval;
    EXPECT_EQ(Commands(5, 5, false), std::vector<int32_t>{button})
        << "the release still completes a click";
  }
}

TEST_F(PollTick, OnlyPushButtonsRepeat) {
  for (ControlKind kind : {ControlKind::IMAGE, ControlKind::CHECKBOX, ControlKind::TEXT}) {
    controlCount = 0;
    int32_t control = Add(kind, 0, 0, 10, 10);
    controls[control].repeatInterval = 1;
    Commands(5, 5, false, 2);
    EXPECT_TRUE(Commands(5, 5, true, 40).empty()) << static_cast<int>(kind);
  }
}

TEST_F(PollTick, DragStartsOnlyOverNoControlWithTheButtonDown) {
  Add(ControlKind::PUSHBUTTON, 0, 0, 10, 10);
  Commands(50, 50, false, 2);
  EXPECT_EQ(Tick(50, 50, true), std::vector<Effect>{Drag()}) << "press on the bare skin";
  EXPECT_TRUE(Tick(50, 50, false).empty()) << "button up";
  Commands(5, 5, false, 2);
  Commands(5, 5, true, 2);
  EXPECT_EQ(Tick(5, 5, true), std::vector<Effect>{}) << "held on a control";
  EXPECT_EQ(Tick(50, 50, true), (std::vector<Effect>{Invalidated(0), Drag()}))
      << "slid off the control";
  EXPECT_TRUE(Commands(50, 50, false, 3).empty()) << "the control is not clicked";
  EXPECT_EQ(controls[0].state, S::NORMAL);
  const int32_t beside[][2] = {{-1, 50}, {200, 50}, {50, 100}};  // the window is 200 x 100
  for (const auto& at : beside) EXPECT_TRUE(Tick(at[0], at[1], true).empty()) << "held beside it";
  dragEnabled = 0;
  EXPECT_TRUE(Tick(50, 50, true).empty()) << "dragging switched off";
}

TEST_F(PollTick, AllSlotsArePolledWhateverTheCount) {
  Put(255, ControlKind::PUSHBUTTON, 100, 100, 10, 10);
  controlCount = 0;
  EXPECT_EQ(Tick(105, 105, true), std::vector<Effect>{Invalidated(255)});
  EXPECT_EQ(controls[255].state, S::PRESSED);
}

TEST_F(PollTick, UnsetHiddenAndDisabledControlsArePassedOver) {
  struct Case {
    const char* name;
    std::function<void(ControlRecord&)> spoil;
  } cases[] = {
      {"unset", [](ControlRecord& c) { c.state = S::UNSET; }},
      {"hidden", [](ControlRecord& c) { c.visible = 0; }},
      {"disabled", [](ControlRecord& c) { c.enabled = 0; }},
  };
  for (const Case& c : cases) {
    controlCount = 0;
    int32_t control = Add(ControlKind::PUSHBUTTON, 0, 0, 10, 10);
    c.spoil(controls[control]);
    ControlState before = controls[control].state;
    EXPECT_EQ(Tick(5, 5, true), std::vector<Effect>{Drag()}) << c.name;
    EXPECT_EQ(controls[control].state, before) << c.name;
  }
}

// Resting is safe only when the ticks it skips would change nothing; it comes as soon as they
// would.
TEST_F(PollTick, RestsOnceThePointerHasLeftAndTheControlsHaveSettled) {
  int32_t button = Add(ControlKind::PUSHBUTTON, 10, 10, 40, 20);
  Commands(20, 15, false, 3);
  EXPECT_FALSE(MayRest(20, 15, false)) << "on the control";
  Tick(300, 15, false);
  EXPECT_FALSE(MayRest(300, 15, false)) << "the control has one more repaint to come";
  Tick(300, 15, false);
  ASSERT_TRUE(MayRest(300, 15, false));
  ControlRecord before = controls[button];
  const int32_t away[][2] = {{300, 15}, {-5, -5}, {100, 100}};
  for (const auto& at : away) {
    EXPECT_TRUE(Tick(at[0], at[1], false).empty());
    EXPECT_TRUE(MayRest(at[0], at[1], false));
  }
  EXPECT_EQ(controls[button].state, before.state);
  EXPECT_EQ(controls[button].previousState, before.previousState);
  EXPECT_EQ(controls[button].changed, 0);
}

TEST_F(PollTick, StaysAwakeWhileATickMayStillDoSomething) {
  struct Case {
    const char* name;
    int32_t x, y;
    bool down;
    bool reachingOut;  // a second control, half out of the window
    bool hovered;      // the first control left HOVER, as a background window keeps it
  } cases[] = {
      {"pointer on the bare skin", 150, 50, false, false, false},
      {"button down outside: a drag starts", 300, 50, true, false, false},
      {"a control reaching out of the window", 300, 50, false, true, false},
      {"a hovered control", 300, 50, false, false, true},
  };
  for (const Case& c : cases) {
    controlCount = 0;
    for (PolledSlot& slot : slots) slot = PolledSlot();
    Add(ControlKind::PUSHBUTTON, 10, 10, 40, 20);
    if (c.reachingOut) Add(ControlKind::PUSHBUTTON, 180, 10, 40, 20);
    Commands(1000, 1000, false, 2);
    if (c.hovered) controls[0].state = S::HOVER;
    EXPECT_FALSE(MayRest(c.x, c.y, c.down)) << c.name;
  }
}

TEST_F(PollTick, RestsWhateverTheControlsWhenTheWindowIsNotPolled) {
  Add(ControlKind::PUSHBUTTON, 10, 10, 40, 20);
  Commands(20, 15, true, 2);
  EXPECT_TRUE(MayRest(20, 15, true, false));
}

TEST_F(PollTick, ControlsThatCannotBeHoveredDoNotKeepItAwake) {
  int32_t hidden = Add(ControlKind::PUSHBUTTON, 180, 10, 40, 20);
  controls[hidden].visible = 0;
  controls[hidden].state = S::HOVER;
  Add(ControlKind::PUSHBUTTON, -50, 10, -40, 20);  // empty: no point lies in it
  Commands(300, 50, false, 2);
  EXPECT_TRUE(MayRest(300, 50, false));
}

TEST(UpdateControlState, DisabledControlIsLeftAsItIs) {
  ControlRecord control;
  control.enabled = 0;
  control.state = S::HOVER;
  control.previousState = S::PRESSED;
  control.changed = 1;
  UpdateControlState(control, S::NORMAL);
  EXPECT_EQ(control.state, S::HOVER);
  EXPECT_EQ(control.previousState, S::PRESSED);
  EXPECT_EQ(control.changed, 1);
}

TEST(UpdateControlState, EveryStateButPressedResetsTheRepeat) {
  struct Case {
    ControlState next;
    int32_t delay;
    int32_t counter;
  } cases[] = {{S::NORMAL, 30, 7}, {S::HOVER, 30, 7}, {S::PRESSED, 5, 2}};
  for (const Case& c : cases) {
    ControlRecord control;
    control.state = S::PRESSED;
    control.previousState = S::PRESSED;
    control.repeatInterval = 7;
    control.repeatDelay = 5;
    control.repeatCounter = 2;
    UpdateControlState(control, c.next);
    EXPECT_EQ(control.repeatDelay, c.delay) << static_cast<int>(c.next);
    EXPECT_EQ(control.repeatCounter, c.counter) << static_cast<int>(c.next);
  }
}

}  // namespace
