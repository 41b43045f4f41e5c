#include "settings/dialog_placement.h"

#include <vector>

#include "settings/dialog_centring.h"
#include "settings/window_placement.h"
#include "settings/work_area.h"

namespace {

ScreenRect WindowRectOf(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  return ScreenRect{rect.left, rect.top, rect.right, rect.bottom};
}

// At `at`, or as near to it as keeps the whole dialog on its monitor's work area: centred over a
// window at the top of the screen, a dialog would put its caption above it, out of reach.
void MoveDialogTo(HWND dialog, DialogPosition at) {
  ScreenRect now = WindowRectOf(dialog);
  RecordRect wanted = {at.x, at.y, at.x + (now.right - now.left), at.y + (now.bottom - now.top)};
  std::vector<RecordRect> workAreas = CurrentWorkAreas();
  RecordRect placed = PlaceWhollyOnWorkArea(wanted, workAreas.data(), workAreas.size());
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
  ScreenRect now = WindowRectOf(dialog);
  MoveDialogTo(dialog, DialogPosition{now.left, now.top});
}

void DragByBody(HWND dialog, WPARAM mouseKeys) {
  // The system runs its move loop as for a press on the caption, until the button is released.
  if (mouseKeys & MK_LBUTTON) SendMessageA(dialog, WM_NCLBUTTONDOWN, HTCAPTION, 0);
}
