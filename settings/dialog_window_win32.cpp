#include "settings/dialog_window.h"

#include "app/dialog_centring.h"

namespace {

SkinRect WindowRectOf(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  return ToSkinRect(rect);
}

void MoveDialogTo(HWND dialog, DialogPosition at) {
  // No SWP_NOZORDER: the move also brings the dialog to the top.
  SetWindowPos(dialog, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE);
}

}  // namespace

void CenterOverMainWindow(HWND dialog) {
  MoveDialogTo(dialog,
               CentreOverWindow(WindowRectOf(dialog), WindowRectOf(application.mainWindow)));
}

void CenterOverMainWindowOrDesktop(HWND dialog) {
  if (IsWindowVisible(application.mainWindow)) {
    CenterOverMainWindow(dialog);
    return;
  }
  MoveDialogTo(dialog, CentreOnDesktop(WindowRectOf(dialog), WindowRectOf(GetDesktopWindow())));
}

void DragByBody(HWND dialog, WPARAM mouseKeys) {
  // The system runs its move loop as for a press on the caption, until the button is released.
  if (mouseKeys & MK_LBUTTON) SendMessageA(dialog, WM_NCLBUTTONDOWN, HTCAPTION, 0);
}

void EnableControl(HWND dialog, int id, bool enabled) {
  EnableWindow(GetDlgItem(dialog, id), enabled ? TRUE : FALSE);
}
