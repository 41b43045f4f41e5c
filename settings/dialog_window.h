#pragma once
// What the dialogs share as windows: their place over their owner, dragging by the body,
// enabling their controls and, for the two settings dialogs, how they are run. Win32 files only.
#include <windows.h>

#include "settings/record_snapshot.h"

// Centres the dialog over its owner, whether that is shown or hidden in the notification area.
// Like every placement here, it then moves the dialog the least way that keeps it whole on the
// work area of its monitor, the caption first.
void CenterOverOwner(HWND dialog);

// Centres the dialog over its owner while that is on screen, else on the desktop.
void CenterOverOwnerOrDesktop(HWND dialog);

// Leaves the dialog where it is, unless part of it lies off its monitor's work area.
void KeepDialogOnWorkArea(HWND dialog);

// WM_MOUSEMOVE with the left button held drags the dialog as if by its caption.
void DragByBody(HWND dialog, WPARAM mouseKeys);

void EnableControl(HWND dialog, int id, bool enabled);

// Runs the settings dialog `templateName` of `instance` modally over `owner`, inside a snapshot
// of `record` so that Cancel undoes its live edits.
template <typename Record>
void RunSettingsDialog(Record& record, HINSTANCE instance, HWND owner, const char* templateName,
                       DLGPROC dialogProc) {
  RunWithRecordSnapshot(
      record, [&] { return DialogBoxParamA(instance, templateName, owner, dialogProc, 0); });
}
