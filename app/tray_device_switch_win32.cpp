#include "app/tray_device_switch.h"

#include <optional>

#include "app/application.h"
#include "meter/meter_link.h"
#include "monitor/refresh_worker.h"

void SwitchDeviceFromTray(int32_t index) {
  std::optional<RefreshPassHold> hold;
  if (meterLink.deviceIndex.load() != NO_DEVICE) {
    // The search dialog's message loop kept dispatching ticks, so a pass may be sending to the
    // linked meter right now. The hold waits for it to end (bounded: the switch goes on when the
    // time runs out) and keeps the next pass out until the new link is in place.
    hold.emplace();
    StopRefreshTimer(application.mainWindow);
    UnlinkDevice();
  }
  LinkDevice(index);
  // Also when nothing was linked: the running timer is replaced and its period starts anew.
  StartRefreshTimer(application.mainWindow);
}
