#pragma once
// The frame of every end-to-end test: torvex.exe run from e2e/<suite>.<test>/ on a virtual meter
// with one idle bridge, no settings key before or after, and the program ended when the test ends
// whatever happened. A test changes the scenario (or the folder, or the settings) first, then
// starts the program and reads as its scenario:
//
//   TEST_F(TorvexTest, QuitControlEndsTheProgram) {
//     ASSERT_NE(StartInForeground(), nullptr);
//     ClickAt(window, CentreOf(COMMAND_CONTROLS[3]).x, CentreOf(COMMAND_CONTROLS[3]).y);
//     EXPECT_EQ(torvex.WaitForExit(), 1u);
//   }
#include <windows.h>

#include <gtest/gtest.h>

#include "windows/support/condition_wait.h"
#include "windows/support/settings_key.h"
#include "windows/support/torvex_process.h"
#include "windows/support/virtual_meter_scenario.h"

// The default skin's command controls (skin/default/skin.ini) in client pixels, in command order:
// display setup, fan and backlight, hide, quit.
constexpr RECT COMMAND_CONTROLS[] = {
    {268, 44, 332, 84}, {336, 44, 400, 84}, {268, 92, 332, 132}, {336, 92, 400, 132}};
// What the program tells the user when the meter goes and comes back.
constexpr char EJECTED[] = "Velquin Torvex has been Ejected!";
constexpr char INSERTED[] = "Velquin Torvex has been Inserted and Linked!";
// A point of the skin's title, away from every control.
constexpr POINT BARE_SURFACE = {120, 20};

class TorvexTest : public ::testing::Test {
 protected:
  TorvexTest();
  void SetUp() override;
  void TearDown() override;

  // Writes the scenario and starts torvex.exe on it.
  bool Start();
  // Rewrites the scenario; while the program runs, waits until its virtual meter has taken the
  // new version up.
  bool ApplyScenario();
  // Starts it and waits for its main window, kept in `window`; null when a step fails.
  HWND StartWithWindow();
  // As StartWithWindow, and makes the main window the foreground window so that real input
  // reaches the skin.
  HWND StartInForeground();

  // Answers the next message box as a user would, checking what it says.
  void AnswerBox(const char* expected);

  // Drags `target` by (dx, dy) from a point of its client area, as the user would, and checks
  // that it followed exactly, that the release ended the move and that the program still runs.
  void ExpectDraggedBy(HWND target, POINT from, int dx, int dy);

  VirtualMeterScenario scenario;
  TorvexProcess torvex;
  HWND window = nullptr;
};

RECT WindowRect(HWND window);
// Whether `inner` lies wholly within `outer`.
bool Contains(const RECT& outer, const RECT& inner);
// Whether `window` lies wholly within the work area of the one screen.
bool IsOnWorkArea(HWND window);
POINT CentreOf(const RECT& rect);
// Where the top-left corner of `box` belongs when it is centred over `frame`.
POINT CentredPosition(HWND box, HWND frame);
void ExpectAt(HWND window, POINT expected);
