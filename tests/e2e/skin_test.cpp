// End to end: the real torvex.exe with the default skin, driven by real mouse input.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <memory>
#include <string>

#include "app/commands.h"
#include "settings/settings_records.h"
#include "support/bmp_file.h"
#include "windows/support/screenshot.h"
#include "windows/support/test_window.h"
#include "windows/support/torvex_test.h"
#include "windows/support/user_input.h"

namespace {

constexpr RECT QUIT_CONTROL = COMMAND_CONTROLS[COMMAND_QUIT];
constexpr POINT CREATED_AT = {133, 135};  // where the program creates its window

bool SamePixels(const Screenshot& a, const Screenshot& b, const RECT& area) {
  for (int y = area.top; y < area.bottom; ++y)
    for (int x = area.left; x < area.right; ++x)
      if (a.Pixel(x, y) != b.Pixel(x, y)) return false;
  return true;
}

// The skin repaints on its next poll ticks, and under load a little later: takes screenshots until
// one satisfies `done` (or the time runs out) and returns the last one.
std::unique_ptr<Screenshot> ShootUntil(HWND window,
                                       const std::function<bool(const Screenshot&)>& done) {
  auto shot = std::make_unique<Screenshot>(window);
  WaitUntil([&] {
    shot = std::make_unique<Screenshot>(window);
    return done(*shot);
  });
  return shot;
}

// What `area` shows once two shots in a row agree.
std::unique_ptr<Screenshot> ShootUntilSettled(HWND window, const RECT& area) {
  auto settled = std::make_unique<Screenshot>(window);
  ShootUntil(window, [&](const Screenshot& shot) {
    bool same = SamePixels(*settled, shot, area);
    if (!same) settled = std::make_unique<Screenshot>(window);
    return same;
  });
  return settled;
}

class TorvexSkin : public TorvexTest {
 protected:
  // A click on the Quit control ends the program with the window's place saved.
  void QuitExpectingPositionSaved(int left, int top) {
    ClickAt(window, CentreOf(QUIT_CONTROL).x, CentreOf(QUIT_CONTROL).y);
    ASSERT_EQ(torvex.WaitForExit(), 1u);
    auto saved = ReadSettingsRecord<RecordRect>("Window Postion");
    ASSERT_TRUE(saved.has_value());
    EXPECT_EQ(saved->left, left);
    EXPECT_EQ(saved->top, top);
  }
};

TEST_F(TorvexSkin, WindowTakesTheSizeOfBackground1AndShowsTheSkin) {
  ASSERT_NE(StartInForeground(), nullptr);
  BmpSize background;
  ASSERT_TRUE(ReadBmpSize(torvex.Folder() + "\\skin\\background1.bmp", &background));
  RECT rect = WindowRect(window);
  EXPECT_EQ(rect.right - rect.left, background.width);
  EXPECT_EQ(rect.bottom - rect.top, background.height);
  ExpectAt(window, CREATED_AT);  // the skin sizes the window and keeps its place
  MoveCursorTo(window, BARE_SURFACE.x, BARE_SURFACE.y);
  Screenshot shot(window);
  EXPECT_TRUE(shot.Save(ArtifactPath("torvex_window.bmp")));
}

// A shortcut or the sign-in Run key starts the program elsewhere, often in the system folder.
TEST_F(TorvexSkin, StartedFromAnotherFolderTheSkinBesideTheProgramIsRead) {
  char systemFolder[MAX_PATH] = {};
  ASSERT_GT(GetSystemDirectoryA(systemFolder, sizeof systemFolder), 0u);
  ASSERT_TRUE(scenario.Apply());
  ASSERT_TRUE(torvex.Start(scenario.IniPath(), systemFolder));
  window = torvex.MainWindow();
  ASSERT_NE(window, nullptr);
  BmpSize background;
  ASSERT_TRUE(ReadBmpSize(torvex.Folder() + "\\skin\\background1.bmp", &background));
  RECT rect{};
  GetWindowRect(window, &rect);
  EXPECT_EQ(rect.right - rect.left, background.width);
  EXPECT_EQ(rect.bottom - rect.top, background.height);
}

TEST_F(TorvexSkin, HoverShowsTheHoverFrameAndLeavingRestoresIt) {
  ASSERT_NE(StartInForeground(), nullptr);
  MoveCursorTo(window, BARE_SURFACE.x, BARE_SURFACE.y);
  std::unique_ptr<Screenshot> normal = ShootUntilSettled(window, QUIT_CONTROL);
  MoveCursorTo(window, CentreOf(QUIT_CONTROL).x, CentreOf(QUIT_CONTROL).y);
  auto hover = ShootUntil(
      window, [&](const Screenshot& shot) { return !SamePixels(*normal, shot, QUIT_CONTROL); });
  EXPECT_FALSE(SamePixels(*normal, *hover, QUIT_CONTROL)) << "the hover frame shows";
  RECT outside = {0, 0, QUIT_CONTROL.left, QUIT_CONTROL.top};
  EXPECT_TRUE(SamePixels(*normal, *hover, outside)) << "nothing else changes";
  EXPECT_TRUE(hover->Save(ArtifactPath("torvex_window_hover.bmp")));
  MoveCursorTo(window, BARE_SURFACE.x, BARE_SURFACE.y);
  auto left = ShootUntil(
      window, [&](const Screenshot& shot) { return SamePixels(*normal, shot, QUIT_CONTROL); });
  EXPECT_TRUE(SamePixels(*normal, *left, QUIT_CONTROL)) << "leaving restores the normal frame";
}

// The poll rests while the pointer is away or another window is in front. It comes back with the
// pointer, and with the foreground whether the pointer is away or already on a control; and what
// a window in front takes is still not the skin's.
TEST_F(TorvexSkin, PollComesBackWithThePointerAndWithTheForeground) {
  ASSERT_NE(StartInForeground(), nullptr);
  POINT quit = CentreOf(QUIT_CONTROL);
  const POINT away = {-60, -60};  // client coordinates, outside the window
  MoveCursorTo(window, away.x, away.y);
  std::unique_ptr<Screenshot> normal = ShootUntilSettled(window, QUIT_CONTROL);
  Sleep(500);  // a long rest
  MoveCursorTo(window, quit.x, quit.y);
  auto hover = ShootUntil(
      window, [&](const Screenshot& shot) { return !SamePixels(*normal, shot, QUIT_CONTROL); });
  EXPECT_FALSE(SamePixels(*normal, *hover, QUIT_CONTROL)) << "hover after the rest";
  MoveCursorTo(window, away.x, away.y);
  auto left = ShootUntil(
      window, [&](const Screenshot& shot) { return SamePixels(*normal, shot, QUIT_CONTROL); });
  EXPECT_TRUE(SamePixels(*normal, *left, QUIT_CONTROL)) << "leaving restores the normal frame";

  // A window in front over the hovered control: a click there is the other window's.
  MoveCursorTo(window, quit.x, quit.y);
  RECT screen = QUIT_CONTROL;
  MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&screen), 2);
  ForeignWindow foreign(
      {screen.left - 40, screen.top - 40, screen.right + 120, screen.bottom + 60});
  ASSERT_TRUE(BringToForeground(foreign.window));
  ClickAt(window, quit.x, quit.y);
  EXPECT_EQ(torvex.WaitForExit(500), std::nullopt) << "the click reached the skin";

  // The hover kept while behind goes once the skin is in front with the pointer away.
  SetWindowPos(foreign.window, nullptr, 600, 420, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  MoveCursorTo(window, away.x, away.y);
  ASSERT_TRUE(BringToForeground(window));
  left = ShootUntil(
      window, [&](const Screenshot& shot) { return SamePixels(*normal, shot, QUIT_CONTROL); });
  EXPECT_TRUE(SamePixels(*normal, *left, QUIT_CONTROL)) << "hover kept in front";

  // The pointer comes onto the control while the other window is in front (aside): nothing shows
  // while the skin is behind, and the hover once it is in front again.
  ASSERT_TRUE(BringToForeground(foreign.window));
  MoveCursorTo(window, quit.x, quit.y);
  Sleep(300);
  EXPECT_TRUE(SamePixels(*normal, Screenshot(window), QUIT_CONTROL)) << "hover from behind";
  ASSERT_TRUE(BringToForeground(window));
  hover = ShootUntil(
      window, [&](const Screenshot& shot) { return !SamePixels(*normal, shot, QUIT_CONTROL); });
  EXPECT_FALSE(SamePixels(*normal, *hover, QUIT_CONTROL)) << "hover with the foreground";
  ClickAt(window, quit.x, quit.y);
  EXPECT_EQ(torvex.WaitForExit(), 1u);
}

// The window follows the pointer until the button is released and no further: moved away without
// a button it stays, and the next click on a control acts at once.
TEST_F(TorvexSkin, ADragOfTheBareSkinEndsWithItsReleaseAndTheNextClickActs) {
  ASSERT_NE(StartInForeground(), nullptr);
  ExpectDraggedBy(window, BARE_SURFACE, 60, 40);
  RECT dragged = WindowRect(window);
  MoveCursorTo(window, dragged.right - dragged.left + 80, 40);  // beside the window
  EXPECT_EQ(WindowRect(window).left, dragged.left);
  EXPECT_EQ(WindowRect(window).top, dragged.top);
  QuitExpectingPositionSaved(dragged.left, dragged.top);
}

// The move's own loop takes the quit message for itself; the program must end all the same.
TEST_F(TorvexSkin, AQuitThatComesDuringAMoveEndsTheProgram) {
  ASSERT_NE(StartInForeground(), nullptr);
  PressAt(window, BARE_SURFACE.x, BARE_SURFACE.y);
  ASSERT_TRUE(WaitUntil([&] { return IsMovingWindow(window); }));
  PostMessageA(window, WM_COMMAND, COMMAND_QUIT, 0);
  EXPECT_EQ(torvex.WaitForExit(), 1u);
  SendMouseAt({0, 0}, MOUSEEVENTF_LEFTUP);
}

TEST_F(TorvexSkin, ClickOnTheQuitControlEndsWithTheSettingsSaved) {
  ASSERT_NE(StartInForeground(), nullptr);
  QuitExpectingPositionSaved(CREATED_AT.x, CREATED_AT.y);
}

TEST_F(TorvexSkin, ABrokenSkinStillStartsRunsAndQuits) {
  std::string skin = torvex.Folder() + "\\skin";
  DeleteFileA((skin + "\\background2.bmp").c_str());
  DeleteFileA((skin + "\\quit.bmp").c_str());
  {
    std::ofstream ini(skin + "\\skin.ini", std::ios::trunc);
    ini << "[MAIN\nBackground1=background1.bmp\n[MAIN]\nRECT=1,2,3\n";
    ini << "Background2=" << std::string(1000, 'x') << ".bmp\n";
    for (int n = 1; n <= 300; ++n)
      ini << "Button." << n << "=" << (n % 2 ? "PUSHBUTTON" : "TEXT") << ","
          << int64_t{n} * 99999999 << ",-2147483648,99999999999,-5,"
          << (n % 3 ? "quit.bmp" : std::string(600, 'y')) << ",RGB(999 -1\n";
    // A missing strip, one too small for its frames, one that fits, and a broken key.
    ini << "[Readout]\nFace=quit.bmp,0,0,9,9\nDigits=setup.bmp,0,0,99,40,3,9\n"
        << "Unit=background1.bmp,-9,140,20,20\nBar=" << std::string(900, '9') << "\n";
  }
  ASSERT_NE(StartInForeground(), nullptr);
  MoveCursorTo(window, 10, 10);  // a few poll ticks and paints over the broken controls
  InvalidateRect(window, nullptr, FALSE);
  // A frame of the second pass: the tick that starts it comes after the first pass's posted
  // outcome and the paint that outcome asked for, in the UI thread's queue.
  EXPECT_GE(scenario.Log().WaitForCount(AnyFrame, 5, 5000).size(), 5u);
  EXPECT_EQ(torvex.Quit(), 1u);
}

}  // namespace
