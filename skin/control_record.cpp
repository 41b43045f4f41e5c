#include "skin/control_record.h"

#include <limits>

namespace {

int32_t Clamp32(int64_t value) {
  if (value > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
  if (value < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(value);
}

constexpr int32_t FRAME_CHECKED = 2;
constexpr int32_t FRAME_ALTERNATE = 3;

}  // namespace

SkinRect ComputeControlRect(const ControlRecord& control, size_t textLength) {
  SkinRect rect;
  rect.left = control.x;
  rect.top = control.y;
  rect.bottom = Clamp32(int64_t{control.y} + control.height);
  int64_t width = control.width;
  if (control.kind == ControlKind::TEXT) {
    // A text holds at most 255 characters, so the character count stays small.
    int64_t characters = static_cast<int64_t>(textLength) * 9 / 5;
    width = characters * control.charWidth;
  }
  rect.right = Clamp32(int64_t{control.x} + width);
  return rect;
}

bool RectContains(const SkinRect& rect, int32_t x, int32_t y) {
  return x >= rect.left && x < rect.right && y >= rect.top && y < rect.bottom;
}

int32_t ChooseFrame(const ControlRecord& control) {
  int32_t frame = static_cast<int32_t>(control.state);
  if (control.kind == ControlKind::IMAGE) frame = 0;
  bool checkable = control.kind == ControlKind::RADIOBOX || control.kind == ControlKind::CHECKBOX;
  if (checkable && control.checked) frame = FRAME_CHECKED;
  if (control.showFrame3) frame = FRAME_ALTERNATE;
  return frame;
}

int32_t FrameSourceX(int32_t frame, int32_t frameWidth) {
  return Clamp32(int64_t{frame} * frameWidth);
}
