// The icon at the end of the run, on a window of the test's own: Wine's shell drops the icon of
// a destroyed window, so only with the window still there does a forgotten icon show.
#include <windows.h>

#include <shellapi.h>

#include <gtest/gtest.h>

#include "app/application.h"
#include "app/main_window.h"
#include "app/tray.h"
#include "windows/support/settings_key.h"
#include "windows/support/test_window.h"

namespace {

// Only an icon the shell holds can be changed.
bool IconShown() {
  NOTIFYICONDATAA record{};
  record.cbSize = NOTIFYICONDATAA_V1_SIZE;
  record.hWnd = application.mainWindow;
  record.uID = 1;
  record.uFlags = NIF_TIP;
  return Shell_NotifyIconA(NIM_MODIFY, &record) != FALSE;
}

// Hidden in the tray, the run ends (the installer's quit, say); or the tray's About box, open
// meanwhile, closes after the end and would hide the window to the tray again.
TEST(TrayIcon, EveryEndOfTheRunLeavesNoIcon) {
  for (bool aboutOpen : {false, true}) {
    application = {};
    application.mainWindow = CreateTestWindow("TorvexTrayIconTest", DefWindowProcA);
    HideToTray();
    ASSERT_TRUE(IconShown()) << aboutOpen;
    if (aboutOpen) RemoveTrayIcon();
    EndRun(application.mainWindow);
    if (aboutOpen) HideToTray();
    EXPECT_FALSE(IconShown()) << aboutOpen;
    DestroyWindow(application.mainWindow);
  }
  DeleteSettingsKey();  // the end of the run saved them
}

}  // namespace
