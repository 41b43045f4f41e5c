#pragma once
// What the dialogs share as windows: their place over the main window, dragging by the body,
// enabling their controls and, for the two settings dialogs, how they are run. Win32 files only.
#include <windows.h>

#include "app/application.h"
#include "settings/record_snapshot.h"

// Centres the dialog over the main window, whether that is shown or hidden in the tray.
void CenterOverMainWindow(HWND dialog);

// Centres the dialog over the main window while that is on screen, else on the desktop.
void CenterOverMainWindowOrDesktop(HWND dialog);

// WM_MOUSEMOVE with the left button held drags the dialog as if by its caption.
void DragByBody(HWND dialog, WPARAM mouseKeys);

void EnableControl(HWND dialog, int id, bool enabled);

// Runs the settings dialog `templateName` modally over the main window, inside a snapshot of
// `record` so that Cancel undoes its live edits.
template <typename Record>
void RunSettingsDialog(Record& record, const char* templateName, DLGPROC dialogProc) {
  RunWithRecordSnapshot(record, [&] {
    return DialogBoxParamA(application.instance, templateName, application.mainWindow, dialogProc,
                           0);
  });
}
