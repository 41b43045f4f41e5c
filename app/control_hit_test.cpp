#include "app/control_hit_test.h"

bool IsOverCommandControl(const ControlView* slots, int32_t controlCount,
                          const ClientToScreenPoint& toScreen, ScreenPoint cursor) {
  for (int32_t slot = 0; slot < COMMAND_CONTROL_COUNT && slot < controlCount; ++slot) {
    if (!slots[slot].present) continue;
    const SkinRect& client = slots[slot].rect;
    ScreenPoint topLeft = toScreen({client.left, client.top});
    ScreenPoint bottomRight = toScreen({client.right, client.bottom});
    SkinRect screen{topLeft.x, topLeft.y, bottomRight.x, bottomRight.y};
    if (RectContains(screen, cursor.x, cursor.y)) return true;
  }
  return false;
}
