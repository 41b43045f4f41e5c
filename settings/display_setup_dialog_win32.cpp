// The "LR" dialog: the meter's figure and its options, edited live in settings.displayItem.
#include "res/resource.h"
#include "settings/dialog_placement.h"
#include "settings/display_setup_rules.h"
#include "settings/record_field_store.h"
#include "settings/record_snapshot.h"
#include "settings/settings_dialog_support.h"
#include "settings/settings_dialogs.h"

namespace {

constexpr char CAPTION[] = "Display Information Setup";
constexpr int32_t MAX_DRIVES = 'Z' - 'A' + 1;

int32_t SelectedItem(HWND dialog) {
  return static_cast<int32_t>(SendDlgItemMessageA(dialog, IDC_ITEM_LIST, CB_GETCURSEL, 0, 0));
}

// The letters of the drive list's entries, in list order, as their item data holds them.
struct DriveLetters {
  uint8_t letters[MAX_DRIVES] = {};
  int32_t count = 0;
};

DriveLetters DriveLettersOf(HWND dialog) {
  DriveLetters drives;
  LRESULT count = SendDlgItemMessageA(dialog, IDC_DRIVE_LIST, CB_GETCOUNT, 0, 0);
  for (LRESULT entry = 0; entry < count && drives.count < MAX_DRIVES; ++entry) {
    LRESULT letter = SendDlgItemMessageA(dialog, IDC_DRIVE_LIST, CB_GETITEMDATA, entry, 0);
    drives.letters[drives.count++] = static_cast<uint8_t>(letter);
  }
  return drives;
}

// "HDD Space" shows a disk of the list: the record's, else the first, which the record then takes.
void SelectDriveForHddSpace(HWND dialog) {
  const DriveLetters drives = DriveLettersOf(dialog);
  const DriveSelection selection =
      DriveSelectionForHddSpace(drives.letters, drives.count, settings.displayItem.driveLetter);
  SendDlgItemMessageA(dialog, IDC_DRIVE_LIST, CB_SETCURSEL, selection.entry, 0);
  if (selection.storeLetter) {
    StoreField(settings.displayItem.driveLetter, drives.letters[selection.entry]);
  }
}

void FillItemList(HWND dialog) {
  for (const char* name : DISPLAY_ITEM_NAMES)
    SendDlgItemMessageA(dialog, IDC_ITEM_LIST, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
  // An itemType outside the list selects nothing.
  SendDlgItemMessageA(dialog, IDC_ITEM_LIST, CB_SETCURSEL, settings.displayItem.itemType, 0);
}

// One entry per fixed disk, in letter order, carrying its letter; built once per opening. The
// record's disk is selected, whatever the item.
void FillDriveList(HWND dialog) {
  for (char letter = 'A'; letter <= 'Z'; ++letter) {
    char text[DRIVE_TEXT_SIZE];
    FormatDriveRoot(letter, text);
    if (GetDriveTypeA(text) != DRIVE_FIXED) continue;
    FormatDriveEntry(letter, text);
    LRESULT entry = SendDlgItemMessageA(dialog, IDC_DRIVE_LIST, CB_ADDSTRING, 0,
                                        reinterpret_cast<LPARAM>(text));
    SendDlgItemMessageA(dialog, IDC_DRIVE_LIST, CB_SETITEMDATA, entry, letter);
  }
  const DriveLetters drives = DriveLettersOf(dialog);
  SendDlgItemMessageA(
      dialog, IDC_DRIVE_LIST, CB_SETCURSEL,
      MatchingDriveEntry(drives.letters, drives.count, settings.displayItem.driveLetter), 0);
}

void UpdateDisplaySetupControls(HWND dialog) {
  const DisplayItemRecord& record = settings.displayItem;
  const int32_t item = SelectedItem(dialog);
  const DisplayOptionStates states = DisplayOptionStatesFor(item);
  EnableControl(dialog, IDC_ADDITIONAL_SETTING, states.additionalSetting);
  EnableControl(dialog, IDC_DRIVE_LABEL, states.driveChoice);
  EnableControl(dialog, IDC_DRIVE_LIST, states.driveChoice);
  EnableControl(dialog, IDC_USED_SPACE, states.spaceChoice);
  EnableControl(dialog, IDC_AVAILABLE_SPACE, states.spaceChoice);
  if (states.driveChoice) SelectDriveForHddSpace(dialog);
  const int32_t* used = UsedFlagOf(record, item);
  if (!used) return;  // the radio buttons keep whatever check they had
  // "Used Space" for 1, "Availalbe Space" for 0, neither for any other flag.
  const int32_t flag = *used;
  const bool known = flag == 0 || flag == 1;
  CheckRadioButton(dialog, IDC_USED_SPACE, IDC_AVAILABLE_SPACE,
                   known ? IDC_AVAILABLE_SPACE - flag : 0);
}

void ChooseItem(HWND dialog) {
  StoreField(settings.displayItem.itemType, SelectedItem(dialog));
  UpdateDisplaySetupControls(dialog);
}

void ChooseDrive(HWND dialog) {
  LRESULT entry = SendDlgItemMessageA(dialog, IDC_DRIVE_LIST, CB_GETCURSEL, 0, 0);
  LRESULT letter = SendDlgItemMessageA(dialog, IDC_DRIVE_LIST, CB_GETITEMDATA, entry, 0);
  StoreField(settings.displayItem.driveLetter, static_cast<uint8_t>(letter));
}

void ChooseSpace(HWND dialog) {
  const bool used = IsDlgButtonChecked(dialog, IDC_USED_SPACE) == BST_CHECKED;
  StoreSpaceChoice(settings.displayItem, SelectedItem(dialog), used);
}

void ApplyCommand(HWND dialog, int id, int notification) {
  switch (id) {
    case IDOK:
      EndDialog(dialog, 1);
      break;
    case IDCANCEL:
      EndDialog(dialog, DIALOG_CANCELLED);
      break;
    case IDC_ITEM_LIST:
      if (notification == CBN_SELCHANGE) ChooseItem(dialog);
      break;
    case IDC_DRIVE_LIST:
      if (notification == CBN_SELCHANGE) ChooseDrive(dialog);
      break;
    case IDC_USED_SPACE:
    case IDC_AVAILABLE_SPACE:
      ChooseSpace(dialog);
      break;
  }
}

BOOL OnInitDialog(HWND dialog) {
  SetWindowTextA(dialog, CAPTION);
  CenterOverOwner(dialog);
  FillItemList(dialog);
  FillDriveList(dialog);
  UpdateDisplaySetupControls(dialog);
  return TRUE;
}

INT_PTR CALLBACK DisplaySetupDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      return OnInitDialog(dialog);
    case WM_COMMAND:
      ApplyCommand(dialog, LOWORD(wParam), HIWORD(wParam));
      return TRUE;
    case WM_MOUSEMOVE:
      DragByBody(dialog, wParam);
      return TRUE;
  }
  return FALSE;
}

}  // namespace

void OpenDisplaySetupDialog(HINSTANCE instance, HWND owner) {
  RunSettingsDialog(settings.displayItem, settings.displayItemBeforeDialog, instance, owner,
                    DISPLAY_SETUP_DIALOG_NAME, DisplaySetupDialogProc);
}
