#pragma once
// How the skin's controls follow the mouse: one control's state update, the decisions of one poll
// tick, and when the poll may stop ticking. Plain logic: the Win32 poll samples the cursor and the
// button and carries out the effects, which the tick asks for in order as it goes, so that a
// command's handler runs inside the tick and sees the controls as they are at that moment.
#include <cstdint>

#include "skin/control_record.h"

// Moves a control to `newState`. Compares with the state before the last update, so a state
// held for a second tick still counts as a change once; a release onto the pressed control
// completes the click (changed -1, both states HOVER).
void UpdateControlState(ControlRecord& control, ControlState newState);

// One polled slot: the control, or null for an empty slot, and its ControlRect.
struct PolledSlot {
  ControlRecord* control = nullptr;
  SkinRect rect;
};

struct PollSample {
  int32_t cursorX = 0;  // client coordinates
  int32_t cursorY = 0;
  bool buttonDown = false;
  int32_t controlCount = 0;
  int32_t dragEnabled = 0;
};

class PollEffects {
 public:
  virtual ~PollEffects() = default;
  virtual void Invalidate(const SkinRect& rect) = 0;
  virtual void SendCommand(int32_t index) = 0;
  virtual void StartDrag() = 0;
};

// Runs the interaction part of one tick over all slots (the window checks are the caller's).
// `lastRadioIndex` is the poll's own memory of the radio box whose press it handled last.
void RunPollTick(const PollSample& sample, const PolledSlot (&slots)[SKIN_MAX_CONTROLS],
                 int32_t& lastRadioIndex, PollEffects& effects);

// Whether the poll may stop ticking after a tick because every tick until the owner window hears
// of the pointer or the foreground again would change nothing: when the window was not
// pollable (hidden, minimised or behind another window: its ticks poll nothing), or when the
// pointer lies outside `clientArea` with the button up and every polled control rests NORMAL
// with its last repaint done. A polled control that reaches outside `clientArea` keeps the poll
// awake: the pointer could come over it without passing over the window.
bool MayPollRest(bool windowPollable, const PollSample& sample,
                 const PolledSlot (&slots)[SKIN_MAX_CONTROLS], const SkinRect& clientArea);
