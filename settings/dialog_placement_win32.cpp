#include "settings/dialog_placement.h"

#include "settings/dialog_centring.h"

namespace {

ScreenRect WindowRectOf(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  return ScreenRect{rect.left, rect.top, rect.right, rect.bottom};
}

void MoveDialogTo(HWND dialog, DialogPosition at) {
  // No SWP_NOZORDER: the move also brings the dialog to the top.
  SetWindowPos(dialog, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE);
}

}  // namespace

void CenterOverOwner(HWND dialog) {
  HWND owner = GetWindow(dialog, GW_OWNER);
  MoveDialogTo(dialog, CentreOverWindow(WindowRectOf(dialog), WindowRectOf(owner)));
}

void CenterOverOwnerOrDesktop(HWND dialog) {
  if (IsWindowVisible(GetWindow(dialog, GW_OWNER))) {
    CenterOverOwner(dialog);
    return;
  }
  MoveDialogTo(dialog, CentreOnDesktop(WindowRectOf(dialog), WindowRectOf(GetDesktopWindow())));
}

void DragByBody(HWND dialog, WPARAM mouseKeys) {
  // The system runs its move loop as for a press on the caption, until the button is released.
  if (mouseKeys & MK_LBUTTON) SendMessageA(dialog, WM_NCLBUTTONDOWN, HTCAPTION, 0);
}
