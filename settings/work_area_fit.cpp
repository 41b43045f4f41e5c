#include "settings/work_area_fit.h"

#include <algorithm>
#include <cstdint>

namespace {

// The start of a span of `size` moved the least way into [low, high), or to `low` when it is
// longer. 64-bit throughout: the rectangles may hold any 32-bit coordinates.
int64_t MoveInto(int64_t start, int64_t size, int64_t low, int64_t high) {
  return std::max(low, std::min(start, high - size));
}

int32_t HeldTo32Bits(int64_t value) {
  return static_cast<int32_t>(std::clamp<int64_t>(value, INT32_MIN, INT32_MAX));
}

}  // namespace

RecordRect FitIntoWorkArea(const RecordRect& window, const RecordRect& workArea) {
  int64_t width = int64_t{window.right} - window.left;
  int64_t height = int64_t{window.bottom} - window.top;
  int64_t left = MoveInto(window.left, width, workArea.left, workArea.right);
  int64_t top = MoveInto(window.top, height, workArea.top, workArea.bottom);
  return RecordRect{HeldTo32Bits(left), HeldTo32Bits(top), HeldTo32Bits(left + width),
                    HeldTo32Bits(top + height)};
}
