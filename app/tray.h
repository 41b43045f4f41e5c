#pragma once
// The notification icon: the main window's second form while it is hidden to the notification
// area, and what the icon reports back. Win32 files only.
#include <windows.h>

#include <cstdint>

#include "monitor/pass_outcome.h"

// "icon2" of `instance` at the size the shell shows notification icons in for a window at `dpi`:
// LoadIconMetric's small size where the common controls have it (Windows Vista on), else the
// small-icon metric at that DPI.
HICON LoadNotificationIcon(HINSTANCE instance, int32_t dpi);

// Main-window command 2: minimizes and hides the main window and adds the icon; nothing once the
// run has ended.
void HideToTray();

// Deletes the icon, if it is shown.
void RemoveTrayIcon();

// The icon's double-click and the tray menu's "&Restore": shows the window and removes the icon.
void RestoreFromTray();

// The meter's status after a pass, or the temperature warning while it is raised, as the tip's
// second line. The icon is told only when the tip's text changes. A warning raised since the last
// notification is told in one, here while the icon is shown, else when the window is hidden.
void ShowPassInTray(const PassOutcome& outcome);

// TRAY_CALLBACK_MESSAGE: `mouseMessage` is what the icon reports (its second parameter).
void HandleTrayNotification(LPARAM mouseMessage);

// Learns which message Explorer broadcasts to every top-level window once it has (re)created the
// taskbar; called once at start-up.
void RegisterTaskbarCreatedMessage();

// Whether `message` is that broadcast.
bool IsTaskbarCreatedMessage(UINT message);

// A new taskbar starts with an empty notification area: puts our icon back if it belongs there.
void HandleTaskbarCreated();
