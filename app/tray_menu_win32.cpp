#include "app/tray_menu.h"

#include <windows.h>

#include "app/about_dialog.h"
#include "app/application.h"
#include "app/commands.h"
#include "app/device_choice.h"
#include "app/main_window.h"
#include "app/popup_menu.h"
#include "app/tray.h"
#include "meter/meter_link.h"

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
      ChooseDevice();
      break;
    case TRAY_MENU_QUIT:
      QuitFromTray();
      break;
  }
}
