#pragma once
// What the two settings dialogs share: how each is run, and enabling a control. Win32 files only.
#include <windows.h>

#include "settings/record_snapshot.h"

inline void EnableControl(HWND dialog, int id, bool enabled) {
  EnableWindow(GetDlgItem(dialog, id), enabled ? TRUE : FALSE);
}

// Runs the settings dialog `templateName` of `instance` modally over `owner`, inside a snapshot
// of `record` so that Cancel undoes its live edits (see RunWithRecordSnapshot).
template <typename Record>
void RunSettingsDialog(Record& record, const Record*& beforeDialog, HINSTANCE instance, HWND owner,
                       const char* templateName, DLGPROC dialogProc) {
  RunWithRecordSnapshot(record, beforeDialog, [&] {
    return DialogBoxParamA(instance, templateName, owner, dialogProc, 0);
  });
}
