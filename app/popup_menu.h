#pragma once
// A pop-up menu built for one use from a table of items, tracked at a point and destroyed with
// its owner object. Win32 files only.
#include <windows.h>

#include <cstddef>
#include <cstdint>

#include "app/popup_menu_items.h"

class PopupMenu {
 public:
  template <size_t N>
  explicit PopupMenu(const PopupMenuItem (&items)[N]) : PopupMenu(items, N) {}
  PopupMenu(const PopupMenuItem* items, size_t count);
  ~PopupMenu();
  PopupMenu(const PopupMenu&) = delete;
  PopupMenu& operator=(const PopupMenu&) = delete;

  // Shown in bold; Enter chooses it. Taken by command id.
  void SetDefaultItem(int32_t id);

  // Shows the menu with its top-left corner at `screen`, owned by `owner`, until the user
  // chooses or dismisses it. Returns the chosen id, or MENU_DISMISSED.
  int32_t Track(HWND owner, POINT screen);

 private:
  HMENU menu = nullptr;
};

// The cursor position in screen coordinates, where both menus open.
POINT CursorPosition();
