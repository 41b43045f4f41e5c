#include "soak/soak_world.h"

#include <gtest/gtest.h>

#include <cmath>
#include <iterator>
#include <vector>

#include "app/commands.h"
#include "res/resource.h"
#include "windows/support/torvex_test.h"
#include "windows/support/user_input.h"

namespace {

constexpr int STEP_MS = 20;
constexpr int DIALOG_WAIT_MS = 5000;
constexpr UINT SEND_TIMEOUT_MS = 5000;
// Plug and pull intervals, drawn evenly on a log scale: as many quick ones as slow ones.
constexpr double FASTEST_TOGGLE_MS = 200;
constexpr double SLOWEST_TOGGLE_MS = 3000;
constexpr int ITEM_COUNT = 7;  // the display setup's items, "None" to "Fan Speed"

ULONGLONG Now() {
  return GetTickCount64();
}

bool IsMessageBox(HWND dialog) {
  return GetDlgItem(dialog, 0xFFFF) != nullptr;
}

}  // namespace

SoakWorld::SoakWorld(TorvexProcess& torvex, HWND window, VirtualMeterScenario& scenario,
                     uint32_t seed)
    : torvex_(torvex), window_(window), scenario_(scenario), random_(seed) {
  nextToggleMs_ = Now() + 1000;
}

int SoakWorld::Between(int low, int high) {
  return std::uniform_int_distribution<int>(low, high)(random_);
}

void SoakWorld::Step() {
  Storm();
  AnswerPrompts();
}

void SoakWorld::Pause(int ms) {
  ULONGLONG end = Now() + static_cast<ULONGLONG>(ms);
  while (Now() < end) {
    Step();
    Sleep(STEP_MS);
  }
}

bool SoakWorld::WaitFor(const std::function<bool()>& done, int ms) {
  ULONGLONG end = Now() + static_cast<ULONGLONG>(ms);
  for (;;) {
    Step();
    if (done()) return true;
    if (Now() >= end) return false;
    Sleep(STEP_MS);
  }
}

void SoakWorld::Storm() {
  if (!storming_ || Now() < nextToggleMs_) return;
  // Mostly the first meter; now and then a second one comes or goes, so that the searches and
  // the device choice have another meter to find.
  int index = Between(0, 9) < 8 ? 0 : 1;
  scenario_.bridges[index].present = !scenario_.bridges[index].present;
  // Not waited for: the toggles come at least 200 ms apart, twice the meter's look at the file.
  scenario_.Apply();
  ++toggles_;
  double logMs = std::uniform_real_distribution<double>(std::log(FASTEST_TOGGLE_MS),
                                                        std::log(SLOWEST_TOGGLE_MS))(random_);
  nextToggleMs_ = Now() + static_cast<ULONGLONG>(std::exp(logMs));
}

void SoakWorld::AnswerPrompts() {
  for (HWND dialog : torvex_.FindWindows(DIALOG_CLASS, nullptr)) {
    bool box = IsMessageBox(dialog);
    if (!box && WindowText(dialog) != SEARCH_CAPTION) continue;
    auto seen = answerAt_.find(dialog);
    if (seen == answerAt_.end()) {
      // A user reads a box first; now and then they take their time, and changes pile up.
      int readMs = Between(0, 9) == 0 ? Between(1500, 4000) : Between(150, 900);
      answerAt_[dialog] = Now() + static_cast<ULONGLONG>(readMs);
      continue;
    }
    if (Now() < seen->second) continue;
    // A search is mostly taken as offered, sometimes cancelled.
    WPARAM answer = !box && Between(0, 5) == 0 ? IDCANCEL : IDOK;
    PostMessageA(dialog, WM_COMMAND, answer, 0);
    seen->second = Now() + 2000;  // if it is still there then, answer again
  }
  for (auto it = answerAt_.begin(); it != answerAt_.end();) {
    it = IsWindow(it->first) ? std::next(it) : answerAt_.erase(it);
  }
}

bool SoakWorld::NothingOpen() const {
  return torvex_.FindWindows(DIALOG_CLASS, nullptr).empty() &&
         torvex_.FindWindows(MENU_CLASS, nullptr).empty();
}

HWND SoakWorld::OpenDialog(WPARAM command, const char* caption) {
  PostMessageA(window_, WM_COMMAND, command, 0);
  HWND dialog = nullptr;
  WaitFor(
      [&] {
        std::vector<HWND> found = torvex_.FindWindows(DIALOG_CLASS, caption);
        dialog = found.empty() ? nullptr : found.front();
        return dialog != nullptr;
      },
      DIALOG_WAIT_MS);
  return dialog;
}

bool SoakWorld::CloseDialog(HWND dialog, WPARAM button) {
  PostMessageA(dialog, WM_COMMAND, button, 0);
  return WaitFor([&] { return !IsWindow(dialog); }, DIALOG_WAIT_MS);
}

void SoakWorld::SendToControl(HWND dialog, int id, UINT message, WPARAM wParam, LPARAM lParam) {
  SendMessageTimeoutA(GetDlgItem(dialog, id), message, wParam, lParam, SMTO_ABORTIFHUNG,
                      SEND_TIMEOUT_MS, nullptr);
}

bool SoakWorld::ChooseFromMenu() {
  if (!WaitFor([&] { return !torvex_.FindWindows(MENU_CLASS, nullptr).empty(); }, 2000)) {
    return false;
  }
  PressKey('C');  // "&Choose Device......"
  if (WaitFor([&] { return torvex_.FindWindows(MENU_CLASS, nullptr).empty(); }, 2000)) return true;
  PressKey(VK_ESCAPE);  // a box came up in between and took the key
  return false;
}

void SoakWorld::PressF3() {
  PostMessageA(window_, WM_KEYUP, VK_F3, 0);
  Pause(Between(300, 1500));  // the search, and its box or dialog, are answered meanwhile
}

void SoakWorld::AboutBox() {
  PostMessageA(window_, WM_KEYUP, VK_F1, 0);
  std::vector<HWND> found;
  WaitFor(
      [&] {
        found = torvex_.FindWindows(DIALOG_CLASS, ABOUT_CAPTION);
        return !found.empty();
      },
      DIALOG_WAIT_MS);
  if (found.empty()) return;
  Pause(Between(200, 1200));
  CloseDialog(found.front(), IDOK);
}

void SoakWorld::DisplaySetup() {
  HWND dialog = OpenDialog(COMMAND_DISPLAY_SETUP, SETUP_CAPTION);
  if (!dialog) return;
  int changes = warmingUp_ ? ITEM_COUNT : Between(1, 3);
  for (int change = 0; change < changes; ++change) {
    int item = warmingUp_ ? change : Between(0, ITEM_COUNT - 1);
    SendToControl(dialog, IDC_ITEM_LIST, CB_SETCURSEL, item, 0);
    SendMessageTimeoutA(dialog, WM_COMMAND, MAKEWPARAM(IDC_ITEM_LIST, CBN_SELCHANGE),
                        reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDC_ITEM_LIST)),
                        SMTO_ABORTIFHUNG, SEND_TIMEOUT_MS, nullptr);
    Pause(Between(200, 1000));  // a pass or two shows the change
  }
  CloseDialog(dialog, IDCANCEL);
}

void SoakWorld::FanAndBacklight() {
  HWND dialog = OpenDialog(COMMAND_FAN_BACKLIGHT, FAN_CAPTION);
  if (!dialog) return;
  const int choices[] = {IDC_FAN_OFF,       IDC_FAN_MANUAL,       IDC_FAN_AUTO,
                         IDC_BACKLIGHT_OFF, IDC_BACKLIGHT_ALWAYS, IDC_BACKLIGHT_ON_FROM};
  int changes = warmingUp_ ? static_cast<int>(std::size(choices)) : Between(1, 3);
  for (int change = 0; change < changes; ++change) {
    SendToControl(dialog, choices[warmingUp_ ? change : Between(0, 5)], BM_CLICK, 0, 0);
    HWND arrows = GetDlgItem(dialog, IDC_FAN_RATIO_ARROWS);
    SendMessageTimeoutA(dialog, WM_VSCROLL, MAKEWPARAM(Between(0, 1) ? SB_LINEUP : SB_LINEDOWN, 0),
                        reinterpret_cast<LPARAM>(arrows), SMTO_ABORTIFHUNG, SEND_TIMEOUT_MS,
                        nullptr);
    Pause(Between(200, 1000));
  }
  CloseDialog(dialog, IDCANCEL);
}

void SoakWorld::HideChooseRestore(bool chooseFromTray) {
  PostMessageA(window_, WM_COMMAND, COMMAND_HIDE_TO_TRAY, 0);
  if (!WaitFor([&] { return !IsWindowVisible(window_); }, DIALOG_WAIT_MS)) return;
  Pause(Between(300, 3000));
  if (chooseFromTray) TrayMenuChooseDevice();
  PostMessageA(window_, TRAY_CALLBACK_MESSAGE, 1, WM_LBUTTONDBLCLK);
  WaitFor([&] { return IsWindowVisible(window_) != FALSE; }, DIALOG_WAIT_MS);
}

void SoakWorld::TrayMenuChooseDevice() {
  PostMessageA(window_, TRAY_CALLBACK_MESSAGE, 1, WM_RBUTTONDOWN);
  if (ChooseFromMenu()) Pause(Between(300, 1500));
  ++actions_["tray menu: choose device"];
}

void SoakWorld::WindowMenuChooseDevice() {
  if (!BringToForeground(window_)) return;
  RightClickAt(window_, BARE_SURFACE.x, BARE_SURFACE.y);
  if (ChooseFromMenu()) Pause(Between(300, 1500));
}

void SoakWorld::HideAndRestore() {
  HideChooseRestore(Between(0, 1) == 0);
}

void SoakWorld::HideChooseFromTrayRestore() {
  HideChooseRestore(true);
}

void SoakWorld::SleepAndWake() {
  auto tell = [this](WPARAM event) {
    SendMessageTimeoutA(window_, WM_POWERBROADCAST, event, 0, SMTO_ABORTIFHUNG, SEND_TIMEOUT_MS,
                        nullptr);
  };
  tell(PBT_APMSUSPEND);
  Pause(Between(300, 3000));  // the storm goes on: a meter may leave or come back meanwhile
  tell(PBT_APMRESUMEAUTOMATIC);
  if (Between(0, 1)) tell(PBT_APMRESUMESUSPEND);  // a wake by the user brings both
}

void SoakWorld::SecondStart() {
  if (Between(0, 1)) {
    PostMessageA(window_, WM_COMMAND, COMMAND_HIDE_TO_TRAY, 0);
    WaitFor([&] { return !IsWindowVisible(window_); }, DIALOG_WAIT_MS);
  }
  TorvexProcess second(InstalledProgram{torvex_.Folder()});
  if (!second.Start(scenario_.IniPath())) return;
  std::optional<DWORD> exitCode;
  WaitFor([&] { return (exitCode = second.WaitForExit(0)).has_value(); }, DIALOG_WAIT_MS);
  if (exitCode != 0u) ADD_FAILURE() << "a second start did not end with 0 within 5 s";
  if (!WaitFor([&] { return IsWindowVisible(window_) != FALSE; }, DIALOG_WAIT_MS))
    ADD_FAILURE() << "a second start did not bring the window back";
}

const SoakWorld::Action SoakWorld::ACTIONS[] = {
    {"F3", &SoakWorld::PressF3},
    {"F1 and the About box", &SoakWorld::AboutBox},
    {"display setup changed and cancelled", &SoakWorld::DisplaySetup},
    {"fan and backlight changed and cancelled", &SoakWorld::FanAndBacklight},
    {"hide to the tray and restore", &SoakWorld::HideAndRestore},
    {"window menu: choose device", &SoakWorld::WindowMenuChooseDevice},
    {"sleep and wake", &SoakWorld::SleepAndWake},
    {"a second start, shown or hidden", &SoakWorld::SecondStart},
};

bool SoakWorld::ReadyToAct() {
  return WaitFor([&] { return NothingOpen() && IsWindowVisible(window_); }, DIALOG_WAIT_MS);
}

void SoakWorld::Run(const Action& action) {
  ++actions_[action.name];
  (this->*action.run)();
}

void SoakWorld::Act() {
  if (!NothingOpen() || !IsWindowVisible(window_)) return;
  Run(ACTIONS[Between(0, static_cast<int>(std::size(ACTIONS)) - 1)]);
}

void SoakWorld::ActEachOnce() {
  warmingUp_ = true;
  for (const Action& action : ACTIONS) {
    if (ReadyToAct()) Run(action);
  }
  if (ReadyToAct()) HideChooseFromTrayRestore();
  warmingUp_ = false;
}

bool SoakWorld::Settle() {
  storming_ = false;
  Pause(1000);  // the last change reaches the program
  return WaitFor(
      [&] {
        for (HWND dialog : torvex_.FindWindows(DIALOG_CLASS, nullptr))
          PostMessageA(dialog, WM_COMMAND, IsMessageBox(dialog) ? IDOK : IDCANCEL, 0);
        if (!torvex_.FindWindows(MENU_CLASS, nullptr).empty()) PressKey(VK_ESCAPE);
        if (!IsWindowVisible(window_))
          PostMessageA(window_, TRAY_CALLBACK_MESSAGE, 1, WM_LBUTTONDBLCLK);
        return NothingOpen() && IsWindowVisible(window_);
      },
      10000);
}
