#include "app/search_dialog.h"

#include <cstdio>

#include "app/application.h"
#include "log/event_log.h"
#include "meter/device_search.h"
#include "res/resource.h"
#include "settings/dialog_placement.h"

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
  LogEvent("Search: %s%s", DescribeProbe(idle).c_str(),
           result == SEARCH_ASK_USER ? "; the user is asked" : "");
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

void LogSearchResult(int32_t result) {
  if (result >= 0 && result < BRIDGE_INDEX_COUNT) {
    LogEvent("Search: device %d chosen", static_cast<int>(result));
  } else if (result == SEARCH_NONE_FOUND) {
    LogEvent("Search: no idle device found");
  } else if (result == SEARCH_CANCELLED) {
    LogEvent("Search: cancelled");
  } else {
    LogEvent("Search: the dialog could not be shown (error %lu)", GetLastError());
  }
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
  INT_PTR result =
      DialogBoxParamA(application.instance, SEARCH_DIALOG_NAME, owner, SearchDialogProc, 0);
  application.searchDialog = nullptr;
  LogSearchResult(static_cast<int32_t>(result));
  return static_cast<int32_t>(result);
}

void BringSearchDialogForward() {
  if (application.searchDialog) SetForegroundWindow(application.searchDialog);
}
