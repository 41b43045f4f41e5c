#pragma once
// The two settings dialogs, each run inside a snapshot of its record so Cancel undoes its live
// edits. Both are modal and owned by the main window; neither writes the registry. Win32 only.
#include <windows.h>

// The "LR" dialog over settings.displayItem (main window command 0).
void OpenDisplaySetupDialog(HINSTANCE instance, HWND owner);

// The "GEN" dialog over settings.systemControl (main window command 1).
void OpenFanBacklightDialog(HINSTANCE instance, HWND owner);
