#include "app/about_dialog.h"

#include "app/application.h"
#include "res/resource.h"
#include "settings/dialog_placement.h"

namespace {

INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      CenterOverOwnerOrDesktop(dialog);
      return TRUE;  // the default focus, on OK
    case WM_COMMAND:
      // OK, Enter, Escape and the close box alike.
      EndDialog(dialog, 1);
      return TRUE;
  }
  return FALSE;
}

}  // namespace

INT_PTR RunAboutDialog(HWND owner) {
  return DialogBoxParamA(application.instance, ABOUT_DIALOG_NAME, owner, AboutDialogProc, 0);
}
