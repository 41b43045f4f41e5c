#include "app/popup_menu.h"

PopupMenu::PopupMenu(const PopupMenuItem* items, size_t count) : menu(CreatePopupMenu()) {
  for (size_t i = 0; i < count; ++i) {
    if (items[i].text) {
      AppendMenuA(menu, MF_STRING, static_cast<UINT_PTR>(items[i].id), items[i].text);
    } else {
      AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    }
  }
}

PopupMenu::~PopupMenu() {
  if (menu) DestroyMenu(menu);
}

void PopupMenu::SetDefaultItem(int32_t id) {
  SetMenuDefaultItem(menu, id, FALSE);
}

int32_t PopupMenu::Track(HWND owner, POINT screen) {
  // A pop-up menu closes on a click elsewhere only when its owner is the foreground window, and
  // a window hidden in the notification area is not, unless we make it so.
  SetForegroundWindow(owner);
  int32_t chosen = static_cast<int32_t>(
      TrackPopupMenu(menu, TPM_RETURNCMD, screen.x, screen.y, 0, owner, nullptr));
  // The documented companion of the call above: without a message after the menu, the next menu
  // opened from the notification area can vanish as soon as it shows.
  PostMessageA(owner, WM_NULL, 0, 0);
  return chosen;
}

POINT CursorPosition() {
  POINT cursor{};
  GetCursorPos(&cursor);
  return cursor;
}
