// The "GEN" dialog: backlight and fan settings edited live in settings.systemControl.
#include <cstdio>

#include "res/resource.h"
#include "settings/dialog_placement.h"
#include "settings/fan_backlight_rules.h"
#include "settings/record_field_store.h"
#include "settings/record_snapshot.h"
#include "settings/settings_dialog_support.h"
#include "settings/settings_dialogs.h"

namespace {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "the labels go to SetWindowTextW as they are");

// Each scroll bar steps the value of the edit whose id is one less than its own.
struct Arrows {
  int scrollBarId;
  ArrowTarget target;
};

constexpr Arrows ARROWS[] = {
    {IDC_BACKLIGHT_FROM_ARROWS, ArrowTarget::BACKLIGHT_FROM},
    {IDC_BACKLIGHT_TO_ARROWS, ArrowTarget::BACKLIGHT_TO},
    {IDC_LOW_THRESHOLD_ARROWS, ArrowTarget::LOW_THRESHOLD},
    {IDC_HIGH_THRESHOLD_ARROWS, ArrowTarget::HIGH_THRESHOLD},
    {IDC_FAN_RATIO_ARROWS, ArrowTarget::FAN_RATIO},
};

// The controls of each fan value row: label, edit, arrows.
constexpr int FAN_ROW_CONTROLS[FAN_VALUE_ROWS][3] = {
    {IDC_LOW_THRESHOLD_LABEL, IDC_LOW_THRESHOLD, IDC_LOW_THRESHOLD_ARROWS},
    {IDC_HIGH_THRESHOLD_LABEL, IDC_HIGH_THRESHOLD, IDC_HIGH_THRESHOLD_ARROWS},
    {IDC_FAN_RATIO_LABEL, IDC_FAN_RATIO, IDC_FAN_RATIO_ARROWS},
};

constexpr int BACKLIGHT_TIME_CONTROLS[] = {IDC_BACKLIGHT_FROM, IDC_BACKLIGHT_FROM_ARROWS,
                                           IDC_BACKLIGHT_TO, IDC_BACKLIGHT_TO_ARROWS};

// Checks the button `first` + `offset`; an offset outside the group leaves every button unchecked.
void CheckRadioByOffset(HWND dialog, int first, int last, int32_t offset) {
  const bool inGroup = offset >= 0 && offset <= last - first;
  CheckRadioButton(dialog, first, last, inGroup ? first + offset : 0);
}

void SetTimeText(HWND dialog, int id, const RecordTime& time) {
  char text[BACKLIGHT_TIME_TEXT_SIZE];
  FormatBacklightTime(time, text);
  SetDlgItemTextA(dialog, id, text);
}

void SetNumberText(HWND dialog, int id, int32_t value) {
  char text[16];
  snprintf(text, sizeof text, "%d", static_cast<int>(value));
  SetDlgItemTextA(dialog, id, text);
}

// Wide text so that the ℃ of the threshold labels shows under any ANSI code page.
void ShowFanValueRows(HWND dialog, int32_t fanMode) {
  const FanValueRows view = FanValueRowsFor(fanMode);
  if (!view.known) return;
  for (int row = 0; row < FAN_VALUE_ROWS; ++row) {
    SetWindowTextW(GetDlgItem(dialog, FAN_ROW_CONTROLS[row][0]),
                   reinterpret_cast<const wchar_t*>(view.rows[row].label));
    for (int id : FAN_ROW_CONTROLS[row]) EnableControl(dialog, id, view.rows[row].enabled);
  }
}

void UpdateFanBacklightControls(HWND dialog) {
  const SystemControlRecord& record = settings.systemControl;
  CheckRadioByOffset(dialog, IDC_BACKLIGHT_OFF, IDC_BACKLIGHT_ON_FROM, record.backlightMode);
  const bool timed = record.backlightMode == BACKLIGHT_WINDOW;
  for (int id : BACKLIGHT_TIME_CONTROLS) EnableControl(dialog, id, timed);
  SetTimeText(dialog, IDC_BACKLIGHT_FROM, record.backlightFrom);
  SetTimeText(dialog, IDC_BACKLIGHT_TO, record.backlightTo);
  CheckRadioByOffset(dialog, IDC_FAN_OFF, IDC_FAN_AUTO, record.fanMode);
  ShowFanValueRows(dialog, record.fanMode);
  SetNumberText(dialog, IDC_LOW_THRESHOLD, record.lowThreshold);
  SetNumberText(dialog, IDC_HIGH_THRESHOLD, record.highThreshold);
  SetNumberText(dialog, IDC_FAN_RATIO, record.fanRatio);
}

void ApplyArrows(HWND dialog, HWND scrollBar, int scrollCode) {
  const int id = GetDlgCtrlID(scrollBar);
  const Arrows* arrows = nullptr;
  for (const Arrows& candidate : ARROWS)
    if (candidate.scrollBarId == id) arrows = &candidate;
  if (!arrows) return;
  HWND edit = GetDlgItem(dialog, id - 1);
  DWORD selectionStart = 0;
  SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&selectionStart), 0);
  const EditSelection selection = ApplyArrowClick(settings.systemControl, arrows->target,
                                                  static_cast<int32_t>(selectionStart), scrollCode);
  UpdateFanBacklightControls(dialog);
  // Setting the text dropped the selection; put it back so the next click acts on the same part.
  SendMessageA(edit, EM_SETSEL, selection.start, selection.end);
}

// The scroll code of a key that steps a value; -1 for any other key.
int ScrollCodeOfKey(WPARAM key) {
  switch (key) {
    case VK_UP:
      return SB_LINEUP;
    case VK_DOWN:
      return SB_LINEDOWN;
    case VK_PRIOR:
      return SB_PAGEUP;
    case VK_NEXT:
      return SB_PAGEDOWN;
  }
  return -1;
}

// A value's edit takes the stepping keys as its arrows would (a focused scroll bar sends them so
// itself), so the value can be changed from the keyboard; in a time, the caret still chooses the
// hour or the minute.
LRESULT CALLBACK ValueEditProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam) {
  const int scrollCode = message == WM_KEYDOWN ? ScrollCodeOfKey(wParam) : -1;
  if (scrollCode >= 0) {
    HWND dialog = GetParent(edit);
    HWND arrows = GetDlgItem(dialog, GetDlgCtrlID(edit) + 1);
    SendMessageA(dialog, WM_VSCROLL, MAKEWPARAM(scrollCode, 0), reinterpret_cast<LPARAM>(arrows));
    return 0;
  }
  auto editProc = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(edit, GWLP_USERDATA));
  return CallWindowProcA(editProc, edit, message, wParam, lParam);
}

void TakeSteppingKeysInEdits(HWND dialog) {
  for (const Arrows& arrows : ARROWS) {
    HWND edit = GetDlgItem(dialog, arrows.scrollBarId - 1);
    // The edit's own procedure is in place before ours can be called.
    SetWindowLongPtrA(edit, GWLP_USERDATA, GetWindowLongPtrA(edit, GWLP_WNDPROC));
    SetWindowLongPtrA(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ValueEditProc));
  }
}

void ApplyCommand(HWND dialog, int id) {
  SystemControlRecord& record = settings.systemControl;
  if (id == IDOK) {
    EndDialog(dialog, 1);
  } else if (id == IDCANCEL) {
    EndDialog(dialog, DIALOG_CANCELLED);
  } else if (id >= IDC_BACKLIGHT_OFF && id <= IDC_BACKLIGHT_ON_FROM) {
    StoreField(record.backlightMode, id - IDC_BACKLIGHT_OFF);
    UpdateFanBacklightControls(dialog);
  } else if (id >= IDC_FAN_OFF && id <= IDC_FAN_AUTO) {
    StoreField(record.fanMode, id - IDC_FAN_OFF);
    UpdateFanBacklightControls(dialog);
  }
}

INT_PTR CALLBACK FanBacklightDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      CenterOverOwner(dialog);
      TakeSteppingKeysInEdits(dialog);
      UpdateFanBacklightControls(dialog);
      return TRUE;
    case WM_COMMAND:
      // The notification code is not looked at: a radio button acts on any of them.
      ApplyCommand(dialog, LOWORD(wParam));
      return TRUE;
    case WM_VSCROLL:
      ApplyArrows(dialog, reinterpret_cast<HWND>(lParam), LOWORD(wParam));
      return TRUE;
    case WM_MOUSEMOVE:
      DragByBody(dialog, wParam);
      return TRUE;
  }
  return FALSE;
}

}  // namespace

void OpenFanBacklightDialog(HINSTANCE instance, HWND owner) {
  RunSettingsDialog(settings.systemControl, settings.systemControlBeforeDialog, instance, owner,
                    FAN_BACKLIGHT_DIALOG_NAME, FanBacklightDialogProc);
}
