// End to end: the real torvex.exe at 100 %, 150 % and 200 % display scale, its window at the top
// of the screen. Wine takes the system DPI from LogPixels as each program starts.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "app/commands.h"
#include "settings/settings_records.h"
#include "windows/support/screenshot.h"
#include "windows/support/torvex_test.h"
#include "windows/support/user_input.h"

namespace {

constexpr int SKIN_WIDTH = 420, SKIN_HEIGHT = 150;  // the default skin's Background1

void SetSystemDpi(DWORD dpi) {
  ASSERT_EQ(RegSetKeyValueA(HKEY_CURRENT_USER, "Control Panel\\Desktop", "LogPixels", REG_DWORD,
                            &dpi, sizeof dpi),
            ERROR_SUCCESS);
}

int Scaled(int value, int dpi) {
  return value * dpi / 96;  // exact for the even coordinates used here
}

// Every control of `dialog` lies inside its client area: none is cut off at the scale.
void ExpectControlsInside(HWND dialog, const char* name) {
  RECT client{};
  GetClientRect(dialog, &client);
  MapWindowPoints(dialog, nullptr, reinterpret_cast<POINT*>(&client), 2);
  for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    EXPECT_TRUE(!IsWindowVisible(child) || Contains(client, WindowRect(child)))
        << name << " control " << GetDlgCtrlID(child);
  }
}

// How many pixels of `area` of `shot` differ from the bitmap file `art` shown `times` its size.
int64_t DifferencesFromArt(const Screenshot& shot, const char* art, int times, const RECT& area) {
  HBITMAP bitmap = static_cast<HBITMAP>(
      LoadImageA(nullptr, art, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION));
  if (bitmap == nullptr) return -1;
  HDC dc = CreateCompatibleDC(nullptr);
  SelectObject(dc, bitmap);  // let go of with the DC
  int64_t differences = 0;
  for (int y = area.top; y < area.bottom; ++y) {
    for (int x = area.left; x < area.right; ++x) {
      if (shot.Pixel(x, y) != GetPixel(dc, x / times, y / times)) ++differences;
    }
  }
  DeleteDC(dc);
  DeleteObject(bitmap);
  return differences;
}

class TorvexAtDpi : public TorvexTest, public ::testing::WithParamInterface<int> {
 protected:
  // The skin's title, which nothing covers, shows its art as made for the scale: at 100 % the 1x
  // file, at 200 % the 2x file as it is, which a pixel-doubled 1x file is not. At 150 % the 2x art
  // is scaled down smoothly, which has no exact picture to compare with. Saves the window.
  void ExpectTitleDrawnFromItsArt(int dpi) {
    const RECT title = {0, 0, Scaled(250, dpi), Scaled(36, dpi)};
    const char* art = dpi == 192 ? "skin\\2x\\background1.bmp" : "skin\\background1.bmp";
    // Painted whole before the picture is taken: the paint is sent to the program and waited for.
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    Screenshot shot(window);
    if (dpi != 144) {
      EXPECT_EQ(DifferencesFromArt(shot, art, 1, title), 0) << "pixels differ from " << art;
    }
    if (dpi == 192) {
      EXPECT_GT(DifferencesFromArt(shot, "skin\\background1.bmp", 2, title), 1000)
          << "the 2x art is no pixel-doubled 1x picture";
    }
    std::string name = "skin_at_" + std::to_string(dpi) + "dpi.bmp";
    EXPECT_TRUE(shot.Save(ArtifactPath(name.c_str())));
  }

  void SetUp() override {
    TorvexTest::SetUp();
    SetSystemDpi(GetParam());
  }
  void TearDown() override {
    TorvexTest::TearDown();
    SetSystemDpi(96);  // the prefix's own, for every later test
  }
};

// Centred over the window at the top of the screen, a dialog would put its caption above it
// (the fan dialog at -87 at 100 %, -144 at 150 %): each comes down onto the screen, still
// centred across, and ends as it should. The window is the skin's size at the DPI, and its scaled
// Quit control quits.
TEST_P(TorvexAtDpi, WindowScalesAndEveryDialogLiesOnTheScreen) {
  const int dpi = GetParam();
  // At 200 % the window is 840 pixels wide: wholly on the 1024-pixel screen only further left.
  const int left = dpi == 192 ? 92 : 300;
  const RecordRect atTop = {left, 0, left + SKIN_WIDTH, SKIN_HEIGHT};
  ASSERT_TRUE(WriteSettingsValue("Window Postion", &atTop, sizeof atTop));
  scenario.bridges[1].present = true;  // two idle meters: the search asks before the window shows
  ASSERT_TRUE(Start());
  HWND search = torvex.WaitForDialog(SEARCH_CAPTION);
  ASSERT_NE(search, nullptr);
  EXPECT_TRUE(IsOnWorkArea(search));
  PostMessageA(search, WM_COMMAND, IDOK, 0);
  ASSERT_NE(window = torvex.MainWindow(), nullptr);
  ASSERT_TRUE(WaitUntil([&] { return WindowRect(window).top == 0; }));
  RECT frame = WindowRect(window);
  EXPECT_EQ(frame.right - frame.left, Scaled(SKIN_WIDTH, dpi));
  EXPECT_EQ(frame.bottom - frame.top, Scaled(SKIN_HEIGHT, dpi));
  struct Opening {
    const char* caption;
    UINT message;
    WPARAM command;
    std::string name;  // of its screenshot
  } openings[] = {{SETUP_CAPTION, WM_COMMAND, COMMAND_DISPLAY_SETUP, "setup_at_"},
                  {FAN_CAPTION, WM_COMMAND, COMMAND_FAN_BACKLIGHT, "fan_at_"},
                  {ABOUT_CAPTION, WM_KEYUP, VK_F1, "about_at_"}};
  for (const Opening& opening : openings) {
    const char* caption = opening.caption;
    PostMessageA(window, opening.message, opening.command, 0);
    HWND dialog = torvex.WaitForDialog(caption, 5000);
    ASSERT_NE(dialog, nullptr) << caption;
    EXPECT_TRUE(IsOnWorkArea(dialog)) << caption;
    ExpectControlsInside(dialog, caption);
    EXPECT_EQ(WindowRect(dialog).left, CentredPosition(dialog, window).x) << caption;
    std::string shot = opening.name + std::to_string(dpi) + "dpi.bmp";
    RedrawWindow(dialog, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);  // drawn whole
    EXPECT_TRUE(Screenshot(dialog).Save(ArtifactPath(shot.c_str())));
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); })) << caption;
  }

  ASSERT_TRUE(BringToForeground(window));
  ExpectTitleDrawnFromItsArt(dpi);
  POINT quit = CentreOf(COMMAND_CONTROLS[COMMAND_QUIT]);
  ClickAt(window, Scaled(quit.x, dpi), Scaled(quit.y, dpi));
  EXPECT_EQ(torvex.WaitForExit(), 1u);
}

INSTANTIATE_TEST_SUITE_P(Scales, TorvexAtDpi, ::testing::Values(96, 144, 192),
                         ::testing::PrintToStringParamName());

}  // namespace
