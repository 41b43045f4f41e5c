#include "settings/window_placement.h"

#include <algorithm>
#include <cstdint>

namespace {

// 64-bit throughout: a stored rectangle may hold any 32-bit coordinates.
int64_t Overlap(int64_t start, int64_t end, int64_t areaStart, int64_t areaEnd) {
  return std::max<int64_t>(0, std::min(end, areaEnd) - std::max(start, areaStart));
}

int64_t SharedArea(const RecordRect& window, const RecordRect& area) {
  return Overlap(window.left, window.right, area.left, area.right) *
         Overlap(window.top, window.bottom, area.top, area.bottom);
}

// How far apart two rectangles lie, across and down added up; 0 when they touch or overlap.
int64_t Gap(const RecordRect& window, const RecordRect& area) {
  int64_t across =
      std::max<int64_t>({0, int64_t{area.left} - window.right, int64_t{window.left} - area.right});
  int64_t down =
      std::max<int64_t>({0, int64_t{area.top} - window.bottom, int64_t{window.top} - area.bottom});
  return across + down;
}

// The work area `window` shares the most with, or the nearest one when it shares none.
const RecordRect* HomeArea(const RecordRect& window, const RecordRect* workAreas, size_t count) {
  const RecordRect* home = nullptr;
  for (size_t i = 0; i < count; ++i) {
    const RecordRect& area = workAreas[i];
    if (!home || SharedArea(window, area) > SharedArea(window, *home) ||
        (SharedArea(window, *home) == 0 && Gap(window, area) < Gap(window, *home))) {
      home = &area;
    }
  }
  return home;
}

// The start of a span of `size` moved the least way into [low, high), or to `low` when it is
// longer.
int32_t MoveInto(int32_t start, int64_t size, int32_t low, int32_t high) {
  return static_cast<int32_t>(std::max<int64_t>(low, std::min<int64_t>(start, high - size)));
}

// `window` moved the least way into `area`, keeping its size; its top-left corner stays in the
// area when it is the larger.
RecordRect MoveIntoArea(const RecordRect& window, const RecordRect& area) {
  int64_t width = int64_t{window.right} - window.left;
  int64_t height = int64_t{window.bottom} - window.top;
  RecordRect placed;
  placed.left = MoveInto(window.left, width, area.left, area.right);
  placed.top = MoveInto(window.top, height, area.top, area.bottom);
  placed.right = static_cast<int32_t>(std::min<int64_t>(placed.left + width, INT32_MAX));
  placed.bottom = static_cast<int32_t>(std::min<int64_t>(placed.top + height, INT32_MAX));
  return placed;
}

}  // namespace

RecordRect PlaceOnWorkArea(const RecordRect& window, const RecordRect* workAreas, size_t count) {
  int64_t size = (int64_t{window.right} - window.left) * (int64_t{window.bottom} - window.top);
  for (size_t i = 0; i < count; ++i) {
    if (2 * SharedArea(window, workAreas[i]) >= size) return window;
  }
  const RecordRect* home = HomeArea(window, workAreas, count);
  return home ? MoveIntoArea(window, *home) : window;
}

RecordRect PlaceWhollyOnWorkArea(const RecordRect& window, const RecordRect* workAreas,
                                 size_t count) {
  const RecordRect* home = HomeArea(window, workAreas, count);
  return home ? MoveIntoArea(window, *home) : window;
}
