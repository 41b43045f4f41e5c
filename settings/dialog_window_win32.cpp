#include "settings/dialog_window.h"

#include "settings/dialog_centring.h"
#include "settings/work_area_fit.h"

namespace {

RecordRect WindowRectOf(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  return RecordRect{rect.left, rect.top, rect.right, rect.bottom};
}

// The work area of the monitor `rect` lies mostly on, or of the nearest one when it is on none.
RecordRect WorkAreaAround(const RecordRect& rect) {
  RECT area = {rect.left, rect.top, rect.right, rect.bottom};
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  if (GetMonitorInfoA(MonitorFromRect(&area, MONITOR_DEFAULTTONEAREST), &monitor)) {
    area = monitor.rcWork;
  }
  return RecordRect{area.left, area.top, area.right, area.bottom};
}

// At `at`, or as near to it as keeps the whole dialog on its monitor's work area: centred over a
// window at the top of the screen, a dialog would put its caption above it, out of reach.
void MoveDialogTo(HWND dialog, DialogPosition at) {
  RecordRect now = WindowRectOf(dialog);
  RecordRect wanted = {at.x, at.y, at.x + (now.right - now.left), at.y + (now.bottom - now.top)};
  RecordRect placed = FitIntoWorkArea(wanted, WorkAreaAround(wanted));
  // No SWP_NOZORDER: the move also brings the dialog to the top.
  SetWindowPos(dialog, nullptr, placed.left, placed.top, 0, 0, SWP_NOSIZE);
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

void KeepDialogOnWorkArea(HWND dialog) {
  RecordRect now = WindowRectOf(dialog);
  MoveDialogTo(dialog, DialogPosition{now.left, now.top});
}

void DragByBody(HWND dialog, WPARAM mouseKeys) {
  // The system runs its move loop as for a press on the caption, until the button is released.
  if (mouseKeys & MK_LBUTTON) SendMessageA(dialog, WM_NCLBUTTONDOWN, HTCAPTION, 0);
}

void EnableControl(HWND dialog, int id, bool enabled) {
  EnableWindow(GetDlgItem(dialog, id), enabled ? TRUE : FALSE);
}
