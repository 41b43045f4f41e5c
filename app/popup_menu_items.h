#pragma once
// The two pop-up menus: the notification icon's (tray) menu and the window's right-button menu.
// Their ids come back from the tracking call itself and never arrive as WM_COMMAND, so they may
// repeat the main window's command ids. Plain data.
#include <cstdint>

// An item; a null text is a separator.
struct PopupMenuItem {
  int32_t id;
  const char* text;
};

constexpr int32_t MENU_DISMISSED = 0;

constexpr int32_t TRAY_MENU_RESTORE = 1;
constexpr int32_t TRAY_MENU_ABOUT = 2;
constexpr int32_t TRAY_MENU_CHOOSE_DEVICE = 3;
constexpr int32_t TRAY_MENU_QUIT = 4;

constexpr PopupMenuItem TRAY_MENU_ITEMS[] = {
    {TRAY_MENU_RESTORE, "&Restore"},
    {TRAY_MENU_ABOUT, "&About\tF1"},
    {0, nullptr},
    {TRAY_MENU_CHOOSE_DEVICE, "&Choose Device......\tF3"},
    {0, nullptr},
    {TRAY_MENU_QUIT, "&Quit\tAlt+F4"},
};

constexpr int32_t WINDOW_MENU_ABOUT = 1;
constexpr int32_t WINDOW_MENU_CHOOSE_DEVICE = 2;
constexpr int32_t WINDOW_MENU_QUIT = 3;

constexpr PopupMenuItem WINDOW_MENU_ITEMS[] = {
    {WINDOW_MENU_ABOUT, "&About\tF1"},
    {0, nullptr},
    {WINDOW_MENU_CHOOSE_DEVICE, "&Choose Device......\tF3"},
    {0, nullptr},
    {WINDOW_MENU_QUIT, "&Quit\tAlt+F4"},
};
