#pragma once
// The world of the soak: a hot-plug storm, and a user who answers every box and device search as
// it comes and now and then does something of their own: F1, F3, the two settings dialogs
// (changed, then cancelled), hiding to the notification area and back, Choose Device from both
// menus, putting the PC to sleep and waking it, starting Torvex a second time. Every wait keeps the
// storm and the answers going, so they overlap as they would for a real user.
#include <windows.h>

#include <functional>
#include <map>
#include <random>
#include <string>

#include "windows/support/torvex_process.h"
#include "windows/support/virtual_meter_scenario.h"

class SoakWorld {
 public:
  SoakWorld(TorvexProcess& torvex, HWND window, VirtualMeterScenario& scenario, uint32_t seed);

  // One step of what goes on by itself: the next plug or pull when it is due, the answer to a
  // prompt once the user has read it.
  void Step();
  // Steps for `ms` milliseconds.
  void Pause(int ms);
  // Steps until `done` holds or `ms` milliseconds have passed; returns whether it held.
  bool WaitFor(const std::function<bool()>& done, int ms);

  // One of the user's own actions, chosen at random among those the window's state allows.
  void Act();
  // Each action once, the tray menu's Choose Device among them: what Wine keeps for the rest of
  // the run once a dialog, box or menu has been shown (fonts, icons, control classes) is then in
  // place before the counts are judged.
  void ActEachOnce();
  // Ends the storm, then answers and closes everything open and brings the window back from the
  // notification area. False when something stayed open.
  bool Settle();

  int Toggles() const { return toggles_; }
  const std::map<std::string, int>& ActionCounts() const { return actions_; }

 private:
  struct Action {
    const char* name;
    void (SoakWorld::*run)();
  };
  static const Action ACTIONS[];

  void Storm();
  void AnswerPrompts();
  bool NothingOpen() const;
  HWND OpenDialog(WPARAM command, const char* caption);
  bool CloseDialog(HWND dialog, WPARAM button);
  void SendToControl(HWND dialog, int id, UINT message, WPARAM wParam, LPARAM lParam);
  bool ChooseFromMenu();

  void PressF3();
  void AboutBox();
  void DisplaySetup();
  void FanAndBacklight();
  void HideAndRestore();
  void HideChooseFromTrayRestore();
  void HideChooseRestore(bool chooseFromTray);
  void WindowMenuChooseDevice();
  void TrayMenuChooseDevice();
  void SleepAndWake();
  void SecondStart();

  bool ReadyToAct();
  void Run(const Action& action);
  int Between(int low, int high);

  TorvexProcess& torvex_;
  HWND window_;
  VirtualMeterScenario& scenario_;
  std::mt19937 random_;
  ULONGLONG nextToggleMs_ = 0;
  bool storming_ = true;
  // While the warm-up runs, the dialogs go through every choice: the first showing of a state
  // may fill caches of Wine's for good, which is no leak.
  bool warmingUp_ = false;
  int toggles_ = 0;
  std::map<HWND, ULONGLONG> answerAt_;  // prompts seen, and when the user answers them
  std::map<std::string, int> actions_;
};
