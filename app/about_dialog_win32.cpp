#include "app/about_dialog.h"

#include "app/application.h"
#include "app/dialog_centring.h"

namespace {

SkinRect WindowRectOf(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  return {rect.left, rect.top, rect.right, rect.bottom};
}

BOOL OnInitDialog(HWND dialog) {
  SkinRect box = WindowRectOf(dialog);
  HWND owner = application.mainWindow;
  DialogPosition at = IsWindowVisible(owner)
                          ? CentreOverWindow(box, WindowRectOf(owner))
                          : CentreOnDesktop(box, WindowRectOf(GetDesktopWindow()));
  // No SWP_NOZORDER: the move also brings the box to the top.
  SetWindowPos(dialog, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE);
  return TRUE;  // the default focus, on OK
}

INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      return OnInitDialog(dialog);
    case WM_COMMAND:
      // OK, Enter, Escape and the close box alike.
      EndDialog(dialog, 1);
      return TRUE;
  }
  return FALSE;
}

}  // namespace

INT_PTR RunAboutDialog(HWND owner) {
  return DialogBoxParamA(application.instance, "About", owner, AboutDialogProc, 0);
}
