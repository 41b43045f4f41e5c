#pragma once
// What a skin control is apart from its pictures: its kind, place, size and interaction state,
// the rectangle it occupies and the frame of its strip it shows. Plain logic, no Win32.
#include <cstddef>
#include <cstdint>

constexpr int32_t SKIN_MAX_CONTROLS = 256;

// Scoped: windows.h defines TEXT as a macro.
enum class ControlKind : int32_t {
  PUSHBUTTON = 0,
  RADIOBOX = 1,
  CHECKBOX = 2,
  IMAGE = 3,
  TEXT = 4
};

enum class ControlState : int32_t { UNSET = -1, NORMAL = 0, HOVER = 1, PRESSED = 2 };

constexpr uint32_t TEXT_COLOR_WHITE = 0xFFFFFF;
constexpr int32_t REPEAT_DELAY_TICKS = 30;

// Same layout and meaning as a Win32 RECT: right and bottom lie just outside.
struct SkinRect {
  int32_t left = 0;
  int32_t top = 0;
  int32_t right = 0;
  int32_t bottom = 0;

  bool operator==(const SkinRect&) const = default;
};

// The fields of a SkinControl that carry no Win32 handle, in the order the control holds them;
// its strip, tooltip and text follow in SkinControl itself.
struct ControlRecord {
  int32_t showFrame3 = 0;
  uint32_t textColor = TEXT_COLOR_WHITE;  // COLORREF layout: red in the low byte
  int32_t repeatDelay = REPEAT_DELAY_TICKS;
  int32_t repeatInterval = 0;
  int32_t repeatCounter = 0;
  int32_t group = 0;
  int32_t checked = 0;
  int32_t visible = 1;
  int32_t enabled = 1;
  ControlKind kind = ControlKind::PUSHBUTTON;
  int32_t x = 0;
  int32_t y = 0;
  int32_t width = 0;
  int32_t height = 0;
  int32_t charWidth = 0;
  int32_t index = 0;
  ControlState state = ControlState::UNSET;
  ControlState previousState = ControlState::NORMAL;
  int32_t changed = 0;  // 1: repaint; -1: a click has just completed
};

// The one rectangle used for drawing, hit tests, tooltips and invalidation. A TEXT control is
// ((length * 9) / 5) characters wide, the division truncating before the multiplication.
// Sums that would leave the 32-bit range (absurd skin numbers) stop at its ends.
SkinRect ComputeControlRect(const ControlRecord& control, size_t textLength);

// Left and top edges inside, right and bottom outside, as PtInRect has it.
bool RectContains(const SkinRect& rect, int32_t x, int32_t y);

// Frame of the strip to show: the state; frame 0 for a plain image; frame 2 for a checked radio
// or check box whatever its state; frame 3 over all of these when showFrame3 is set.
int32_t ChooseFrame(const ControlRecord& control);

// Left edge of `frame` in a strip of `frameWidth`-wide frames, held in the 32-bit range.
int32_t FrameSourceX(int32_t frame, int32_t frameWidth);
