// Torvex: the desktop companion of the Velquin Torvex front-panel meter.
#include <windows.h>

#include "app/application.h"
#include "app/crash_handler.h"
#include "app/device_choice.h"
#include "app/main_window.h"
#include "app/run_events.h"
#include "app/single_copy.h"
#include "log/log_writer.h"
#include "meter/bridge_library.h"
#include "meter/bridge_loader.h"
#include "settings/settings_registry.h"

namespace {

void RunMessageLoop() {
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
    // A modal loop running inside that message (a window move, for one) may have taken the quit
    // message for itself: the end of the run is known here all the same.
    if (application.runEnded) break;
  }
}

// However the run ends, what the event log holds is written before the process goes.
struct EventLogRun {
  EventLogRun() { StartEventLog(); }
  ~EventLogRun() { StopEventLog(); }
};

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  application.instance = instance;
  if (!ClaimSessionCopy()) return 0;
  EventLogRun eventLogRun;
  InstallCrashHandler();
  LogProgramStart();
  // A missing bridge library leaves stand-ins that find no meter.
  LoadBridgeLibrary(BRIDGE_LIBRARY_NAME);
  if (!ChooseStartupDevice()) return 0;
  if (!RegisterMainWindowClass(instance)) return 0;
  HWND window = CreateMainWindow(instance);
  if (!window) return 0;
  application.mainWindow = window;
  LoadSettings(window);
  RunMessageLoop();
  if (application.skinPanel) {
    application.skinPanel->Destroy();
    application.skinPanel.reset();
  }
  return 1;
}
