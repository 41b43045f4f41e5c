#include "skin/control_interaction.h"

namespace {

bool IsPolled(const ControlRecord* control) {
  return control != nullptr && control->state != ControlState::UNSET && control->visible &&
         control->enabled;
}

// A radio box takes its check on the press itself, from the others of its group.
void PressRadio(int32_t slot, const PollSample& sample,
                const PolledSlot (&slots)[SKIN_MAX_CONTROLS], int32_t& lastRadioIndex,
                PollEffects& effects) {
  ControlRecord& pressed = *slots[slot].control;
  lastRadioIndex = slot;
  for (int32_t i = 0; i < sample.controlCount && i < SKIN_MAX_CONTROLS; ++i) {
    ControlRecord* other = slots[i].control;
    if (i == slot || other == nullptr) continue;
    if (other->kind != ControlKind::RADIOBOX || other->group != pressed.group) continue;
    bool wasChecked = other->checked != 0;
    other->checked = 0;
    if (wasChecked) effects.Invalidate(slots[i].rect);
  }
  bool wasChecked = pressed.checked != 0;
  pressed.checked = 1;
  if (!wasChecked) effects.Invalidate(slots[slot].rect);
  effects.SendCommand(pressed.index);
}

// After the first 30 held ticks a push button repeats its command every repeatInterval + 1 ticks.
void RepeatHeldButton(ControlRecord& control, PollEffects& effects) {
  if (control.repeatDelay > 0) {
    --control.repeatDelay;
  } else {
    --control.repeatCounter;
    if (control.repeatCounter == -1) control.repeatCounter = control.repeatInterval;
  }
  if (control.repeatCounter == 0) effects.SendCommand(control.index);
}

bool IsEmpty(const SkinRect& rect) {
  return rect.right <= rect.left || rect.bottom <= rect.top;
}

bool LiesWithin(const SkinRect& rect, const SkinRect& area) {
  return IsEmpty(rect) || (rect.left >= area.left && rect.top >= area.top &&
                           rect.right <= area.right && rect.bottom <= area.bottom);
}

// NORMAL now and before: a further NORMAL update changes nothing and repaints nothing.
bool RestsWithin(const PolledSlot& slot, const SkinRect& area) {
  const ControlRecord& control = *slot.control;
  return control.state == ControlState::NORMAL && control.previousState == ControlState::NORMAL &&
         LiesWithin(slot.rect, area);
}

}  // namespace

void UpdateControlState(ControlRecord& control, ControlState newState) {
  if (!control.enabled) return;
  control.changed = newState != control.previousState ? 1 : 0;
  if (newState != ControlState::PRESSED) {
    control.repeatDelay = REPEAT_DELAY_TICKS;
    control.repeatCounter = control.repeatInterval;
  }
  if (control.previousState == ControlState::PRESSED && newState == ControlState::HOVER) {
    control.changed = -1;
    control.state = ControlState::HOVER;
    control.previousState = ControlState::HOVER;
    return;
  }
  control.previousState = control.state;
  control.state = newState;
}

void RunPollTick(const PollSample& sample, const PolledSlot (&slots)[SKIN_MAX_CONTROLS],
                 int32_t& lastRadioIndex, PollEffects& effects) {
  bool overControl = false;
  for (int32_t i = 0; i < SKIN_MAX_CONTROLS; ++i) {
    ControlRecord* control = slots[i].control;
    if (!IsPolled(control)) continue;
    if (RectContains(slots[i].rect, sample.cursorX, sample.cursorY)) {
      overControl = true;
      UpdateControlState(*control, sample.buttonDown ? ControlState::PRESSED : ControlState::HOVER);
      if (control->kind == ControlKind::RADIOBOX && sample.buttonDown && i != lastRadioIndex) {
        PressRadio(i, sample, slots, lastRadioIndex, effects);
      }
      if (control->previousState == ControlState::PRESSED && control->repeatInterval != 0 &&
          sample.buttonDown && control->kind == ControlKind::PUSHBUTTON) {
        RepeatHeldButton(*control, effects);
      }
    } else {
      UpdateControlState(*control, ControlState::NORMAL);
    }
    if (control->changed != 0) effects.Invalidate(slots[i].rect);
    if (control->changed == -1) {
      effects.SendCommand(control->index);
      if (control->kind == ControlKind::CHECKBOX) {
        control->checked = control->checked ? 0 : 1;
        effects.Invalidate(slots[i].rect);
      }
    }
  }
  if (sample.dragEnabled && sample.buttonDown && !overControl) effects.StartDrag();
}

bool MayPollRest(bool windowPollable, const PollSample& sample,
                 const PolledSlot (&slots)[SKIN_MAX_CONTROLS], const SkinRect& clientArea) {
  if (!windowPollable) return true;
  if (sample.buttonDown || RectContains(clientArea, sample.cursorX, sample.cursorY)) return false;
  for (const PolledSlot& slot : slots) {
    if (IsPolled(slot.control) && !RestsWithin(slot, clientArea)) return false;
  }
  return true;
}
