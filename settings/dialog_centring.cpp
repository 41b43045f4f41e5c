#include "settings/dialog_centring.h"

namespace {

// Sizes come from real windows, so these differences stay well inside 32 bits.
int32_t CentredOffset(int32_t outer, int32_t inner) {
  return (outer - inner) / 2;
}

int32_t Width(const ScreenRect& rect) {
  return rect.right - rect.left;
}
int32_t Height(const ScreenRect& rect) {
  return rect.bottom - rect.top;
}

}  // namespace

DialogPosition CentreOverWindow(const ScreenRect& dialog, const ScreenRect& frame) {
  return {frame.left + CentredOffset(Width(frame), Width(dialog)),
          frame.top + CentredOffset(Height(frame), Height(dialog))};
}

DialogPosition CentreOnDesktop(const ScreenRect& dialog, const ScreenRect& desktop) {
  return {CentredOffset(Width(desktop), Width(dialog)),
          CentredOffset(Height(desktop), Height(dialog))};
}
