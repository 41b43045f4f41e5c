#include "app/window_menu.h"

#include "app/about_dialog.h"
#include "app/application.h"
#include "app/control_hit_test.h"
#include "app/device_choice.h"
#include "app/main_window.h"
#include "app/popup_menu.h"

namespace {

bool IsCursorOverCommandControl(HWND window, POINT cursor) {
  const SkinPanel* panel = application.skinPanel.get();
  if (!panel) return false;
  ControlView slots[COMMAND_CONTROL_COUNT];
  for (int32_t slot = 0; slot < COMMAND_CONTROL_COUNT && slot < panel->controlCount; ++slot) {
    const SkinControl* control = panel->controls[slot].get();
    if (control) slots[slot] = {true, ToSkinRect(control->DisplayRect())};
  }
  auto toScreen = [window](ScreenPoint client) {
    POINT point{client.x, client.y};
    ClientToScreen(window, &point);
    return ScreenPoint{point.x, point.y};
  };
  return IsOverCommandControl(slots, panel->controlCount, toScreen, {cursor.x, cursor.y});
}

}  // namespace

bool ShowWindowMenu(HWND window) {
  // Where the cursor is now; the press's own coordinates are not used.
  POINT cursor = CursorPosition();
  if (IsCursorOverCommandControl(window, cursor)) return false;
  PopupMenu menu(WINDOW_MENU_ITEMS);
  switch (menu.Track(window, cursor)) {
    case WINDOW_MENU_ABOUT:
      RunAboutDialog(window);
      break;
    case WINDOW_MENU_CHOOSE_DEVICE:
      ChooseDevice();
      break;
    case WINDOW_MENU_QUIT:
      QuitApplication();
      break;
  }
  return true;
}
