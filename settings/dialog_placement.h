#pragma once
// Where a dialog of the program sits and how it is dragged: the settings dialogs and app's About
// box alike. Win32 files only.
#include <windows.h>

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
