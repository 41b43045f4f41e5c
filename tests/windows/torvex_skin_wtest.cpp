// End to end: the real torvex.exe with the default skin, driven by real mouse input.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <memory>
#include <string>

#include "support/bmp_file.h"
#include "windows/support/screenshot.h"
#include "windows/support/settings_key.h"
#include "windows/support/torvex_process.h"
#include "windows/support/user_input.h"
#include "windows/support/virtual_meter_scenario.h"

namespace {

// The default skin's command controls (skin/default/skin.ini), in client pixels.
constexpr RECT QUIT_CONTROL = {336, 92, 400, 132};
constexpr POINT BARE_SURFACE = {120, 20};  // the title, away from every control

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
  WaitUntil(
      [&] {
        shot = std::make_unique<Screenshot>(window);
        return done(*shot);
      },
      3000);
  return shot;
}

class TorvexSkin : public ::testing::Test {
 protected:
  void SetUp() override {
    DeleteSettingsKey();
    scenario.bridges[0].present = true;
    ASSERT_TRUE(scenario.Apply());
  }
  void TearDown() override { DeleteSettingsKey(); }

  HWND StartTorvex(TorvexProcess& torvex) { return torvex.StartInForeground(scenario.IniPath()); }

  VirtualMeterScenario scenario;
};

TEST_F(TorvexSkin, WindowTakesTheSizeOfBackground1AndShowsTheSkin) {
  TorvexProcess torvex("skin_look");
  HWND window = StartTorvex(torvex);
  ASSERT_NE(window, nullptr);
  BmpSize background;
  ASSERT_TRUE(ReadBmpSize(torvex.Folder() + "\\skin\\background1.bmp", &background));
  RECT rect{};
  GetWindowRect(window, &rect);
  EXPECT_EQ(rect.right - rect.left, background.width);
  EXPECT_EQ(rect.bottom - rect.top, background.height);
  EXPECT_EQ(rect.left, 133);  // the skin sizes the window and keeps its place
  EXPECT_EQ(rect.top, 135);
  MoveCursorTo(window, BARE_SURFACE.x, BARE_SURFACE.y);
  Screenshot shot(window);
  EXPECT_TRUE(shot.Save(ArtifactPath("torvex_window.bmp")));
  torvex.Quit();
}

// A shortcut or the sign-in Run key starts the program elsewhere, often in the system folder.
TEST_F(TorvexSkin, StartedFromAnotherFolderTheSkinBesideTheProgramIsRead) {
  TorvexProcess torvex("skin_beside_program");
  char systemFolder[MAX_PATH] = {};
  ASSERT_GT(GetSystemDirectoryA(systemFolder, sizeof systemFolder), 0u);
  ASSERT_TRUE(torvex.Start(scenario.IniPath(), systemFolder));
  HWND window = torvex.MainWindow();
  ASSERT_NE(window, nullptr);
  BmpSize background;
  ASSERT_TRUE(ReadBmpSize(torvex.Folder() + "\\skin\\background1.bmp", &background));
  RECT rect{};
  GetWindowRect(window, &rect);
  EXPECT_EQ(rect.right - rect.left, background.width);
  EXPECT_EQ(rect.bottom - rect.top, background.height);
  torvex.Quit();
}

TEST_F(TorvexSkin, HoverShowsTheHoverFrameAndLeavingRestoresIt) {
  TorvexProcess torvex("skin_hover");
  HWND window = StartTorvex(torvex);
  ASSERT_NE(window, nullptr);
  MoveCursorTo(window, BARE_SURFACE.x, BARE_SURFACE.y);
  // The normal look: what the control shows once two shots in a row agree.
  std::unique_ptr<Screenshot> normal = std::make_unique<Screenshot>(window);
  ShootUntil(window, [&](const Screenshot& shot) {
    bool settled = SamePixels(*normal, shot, QUIT_CONTROL);
    if (!settled) normal = std::make_unique<Screenshot>(window);
    return settled;
  });
  MoveCursorTo(window, QUIT_CONTROL.left + 20, QUIT_CONTROL.top + 20);
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
  torvex.Quit();
}

TEST_F(TorvexSkin, PressOnTheBareSurfaceDragsTheWindow) {
  TorvexProcess torvex("skin_drag");
  HWND window = StartTorvex(torvex);
  ASSERT_NE(window, nullptr);
  RECT before{};
  GetWindowRect(window, &before);
  DragFrom(window, BARE_SURFACE.x, BARE_SURFACE.y, 60, 40);
  RECT after{};
  EXPECT_TRUE(WaitUntil(
      [&] {
        GetWindowRect(window, &after);
        return after.left != before.left;
      },
      2000));
  EXPECT_NEAR(after.left - before.left, 60, 4);
  EXPECT_NEAR(after.top - before.top, 40, 4);
  EXPECT_TRUE(torvex.IsRunning());
  torvex.Quit();
}

TEST_F(TorvexSkin, ClickOnTheQuitControlEndsWithTheSettingsSaved) {
  TorvexProcess torvex("skin_quit");
  HWND window = StartTorvex(torvex);
  ASSERT_NE(window, nullptr);
  ClickAt(window, QUIT_CONTROL.left + 20, QUIT_CONTROL.top + 20);
  DWORD exitCode = 99;
  ASSERT_TRUE(torvex.WaitForExit(5000, &exitCode));
  EXPECT_EQ(exitCode, 1u);
  auto position = ReadSettingsValue("Window Postion");
  ASSERT_TRUE(position.has_value());
  ASSERT_EQ(position->size(), 16u);
  RECT saved;
  memcpy(&saved, position->data(), sizeof saved);
  EXPECT_EQ(saved.left, 133);
  EXPECT_EQ(saved.top, 135);
}

TEST_F(TorvexSkin, ABrokenSkinStillStartsRunsAndQuits) {
  TorvexProcess torvex("skin_broken");
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
  }
  ASSERT_TRUE(torvex.Start(scenario.IniPath()));
  HWND window = torvex.MainWindow();
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(BringToForeground(window));
  MoveCursorTo(window, 10, 10);  // a few poll ticks and paints over the broken controls
  InvalidateRect(window, nullptr, FALSE);
  EXPECT_EQ(scenario.Log()
                .WaitForCount([](const MeterLogRecord& r) { return r.IsFrame(); }, 4, 5000)
                .size(),
            4u);
  PostMessageA(window, WM_COMMAND, 3, 0);
  DWORD exitCode = 99;
  ASSERT_TRUE(torvex.WaitForExit(5000, &exitCode));
  EXPECT_EQ(exitCode, 1u);
}

}  // namespace
