#include "app/search_dialog.h"

#include <cstdio>

#include "app/application.h"
#include "meter/device_search.h"
#include "res/resource.h"
#include "settings/dialog_window.h"

namespace {

BOOL OnInitDialog(HWND dialog) {
  application.searchDialog = dialog;
  int32_t linked = meterLink.deviceIndex.load(std::memory_order_relaxed);
  IdleBridges idle = ProbeIdleBridges(linked);
  HWND list = GetDlgItem(dialog, IDC_DEVICE_LIST);
  for (int32_t i = 0; i < idle.count; ++i) {
    char text[32];
    snprintf(text, sizeof text, "Device %d", static_cast<int>(idle.indices[i]));
    LRESULT position = SendMessageA(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
    SendMessageA(list, CB_SETITEMDATA, position, idle.indices[i]);
  }
  SendMessageA(list, CB_SETCURSEL, 0, 0);  // the first in sorted order
  int32_t result = AutoSearchResult(idle, linked);
  if (result != SEARCH_ASK_USER) EndDialog(dialog, result);  // ends before it is ever shown
  KeepDialogOnWorkArea(dialog);  // the system has centred it on the screen
  return TRUE;
}

// OK (or Enter) ends with the chosen bridge; Cancel, Escape and the close box all arrive as
// IDCANCEL. Other commands are not handled.
BOOL OnCommand(HWND dialog, int id) {
  if (id == IDOK) {
    HWND list = GetDlgItem(dialog, IDC_DEVICE_LIST);
    LRESULT selected = SendMessageA(list, CB_GETCURSEL, 0, 0);
    EndDialog(dialog, SendMessageA(list, CB_GETITEMDATA, selected, 0));
    return TRUE;
  }
  if (id == IDCANCEL) {
    EndDialog(dialog, SEARCH_CANCELLED);
    return TRUE;
  }
  return FALSE;
}

INT_PTR CALLBACK SearchDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      return OnInitDialog(dialog);
    case WM_COMMAND:
      return OnCommand(dialog, LOWORD(wParam));
  }
  return FALSE;
}

}  // namespace

int32_t RunSearchDialog(HWND owner) {
  INT_PTR result = DialogBoxParamA(application.instance, "Search", owner, SearchDialogProc, 0);
  application.searchDialog = nullptr;
  return static_cast<int32_t>(result);
}

void BringSearchDialogForward() {
  if (application.searchDialog) SetForegroundWindow(application.searchDialog);
}
