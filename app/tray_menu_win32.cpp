#include "app/tray_menu.h"

#include <windows.h>

#include "app/about_dialog.h"
#include "app/application.h"
#include "app/commands.h"
#include "app/main_window.h"
#include "app/popup_menu.h"
#include "app/tray.h"
#include "app/tray_device_switch.h"
#include "meter/device_search.h"
#include "meter/meter_link.h"
#include "meter/search_dialog.h"

namespace {

void PostRestore() {
  // Posted, not called: the window comes back only once the menu is gone.
  PostMessageA(application.mainWindow, TRAY_CALLBACK_MESSAGE, 0, WM_LBUTTONDBLCLK);
}

void ShowAboutFromTray() {
  // The icon stays away while the box is open, so the box cannot be opened twice from the tray.
  RemoveTrayIcon();
  RunAboutDialog(application.mainWindow);
  HideToTray();
}

void ChooseDeviceFromTray() {
  int32_t result = RunSearchDialog(application.mainWindow);
  if (result == SEARCH_NONE_FOUND) {
    // No caption of our own: the system's default title.
    MessageBoxA(application.mainWindow, "No more Velquin Torvex Found!", nullptr,
                MB_ICONINFORMATION);
    return;
  }
  if (result >= 0 && result < BRIDGE_INDEX_COUNT) SwitchDeviceFromTray(result);
}

void QuitFromTray() {
  RemoveTrayIcon();
  QuitApplication();
}

}  // namespace

void ShowTrayMenu() {
  POINT cursor = CursorPosition();
  PopupMenu menu(TRAY_MENU_ITEMS);
  menu.SetDefaultItem(TRAY_MENU_RESTORE);
  switch (menu.Track(application.mainWindow, cursor)) {
    case TRAY_MENU_RESTORE:
      PostRestore();
      break;
    case TRAY_MENU_ABOUT:
      ShowAboutFromTray();
      break;
    case TRAY_MENU_CHOOSE_DEVICE:
      ChooseDeviceFromTray();
      break;
    case TRAY_MENU_QUIT:
      QuitFromTray();
      break;
  }
}
