#include "settings/dialog_window.h"

#include "app/application.h"
#include "app/dialog_centring.h"

namespace {

SkinRect WindowRectOf(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  return {rect.left, rect.top, rect.right, rect.bottom};
}

}  // namespace

void CenterOverMainWindow(HWND dialog) {
  // Over the main window even while it is hidden in the tray, unlike the About box.
  DialogPosition at = CentreOverWindow(WindowRectOf(dialog), WindowRectOf(application.mainWindow));
  SetWindowPos(dialog, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE);
}

void DragByBody(HWND dialog, WPARAM mouseKeys) {
  // The system runs its move loop as for a press on the caption, until the button is released.
  if (mouseKeys & MK_LBUTTON) SendMessageA(dialog, WM_NCLBUTTONDOWN, HTCAPTION, 0);
}
