// The SkinPanel and SkinPoll on a window of the test's own: the default skin, a skin written by
// the test, a broken one, and what painting and polling cost in GDI objects and repaints.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "skin/skin_panel.h"
#include "skin/skin_poll.h"
#include "support/bmp_file.h"
#include "windows/support/condition_wait.h"
#include "windows/support/gdi_object_count.h"
#include "windows/support/screenshot.h"
#include "windows/support/test_window.h"
#include "windows/support/user_input.h"

namespace {

constexpr char WINDOW_CLASS[] = "SkinPanelTestWindow";
constexpr int CREATED_X = 133;
constexpr int CREATED_Y = 135;
constexpr int CREATED_WIDTH = 662;
constexpr int CREATED_HEIGHT = 230;

// What reaches the test window, for the checks.
struct WindowLog {
  SkinPanel* panel = nullptr;
  std::vector<int> commands;
  int dragStarts = 0;
};
WindowLog windowLog;

LRESULT CALLBACK TestWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  WakeSkinPollFor(window, message);
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(window, &paint);
      if (windowLog.panel != nullptr) windowLog.panel->Paint(dc);
      EndPaint(window, &paint);
      return 0;
    }
    case WM_ERASEBKGND:
      return 1;
    case WM_COMMAND:
      windowLog.commands.push_back(LOWORD(wParam));
      return 0;
    case WM_NCLBUTTONDOWN:
      // Counted, not carried out: the move loop would hold the test until the button is up.
      if (wParam == HTCAPTION) {
        ++windowLog.dragStarts;
        return 0;
      }
      break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

// Presses or releases the left button where the cursor was put.
void SendLeftButton(bool down) {
  POINT cursor{};
  GetCursorPos(&cursor);
  SendMouseAt(cursor, down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP);
}

std::string CursorText() {
  POINT cursor{};
  GetCursorPos(&cursor);
  return std::to_string(cursor.x) + "," + std::to_string(cursor.y);
}

bool LeftButtonDown() {
  return (GetAsyncKeyState(VK_LBUTTON) & 0x8000) != 0;
}

void WriteTextFile(const std::string& path, const std::string& text) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file << text;
}

RECT WindowArea(HWND window) {
  RECT area{};
  GetWindowRect(window, &area);
  return area;
}

bool SameRect(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

COLORREF PixelOfBitmapFile(const char* path, int x, int y) {
  HBITMAP bitmap = static_cast<HBITMAP>(
      LoadImageA(nullptr, path, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_DEFAULTSIZE));
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ previous = SelectObject(dc, bitmap);
  COLORREF color = GetPixel(dc, x, y);
  SelectObject(dc, previous);
  DeleteDC(dc);
  DeleteObject(bitmap);
  return color;
}

class SkinPanelTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = TestWindowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    windowClass.lpszClassName = WINDOW_CLASS;
    RegisterClassA(&windowClass);
  }

  void SetUp() override {
    windowLog = WindowLog();
    window = CreateWindowExA(0, WINDOW_CLASS, "Skin panel test", WS_POPUP | WS_VISIBLE | WS_SYSMENU,
                             CREATED_X, CREATED_Y, CREATED_WIDTH, CREATED_HEIGHT, nullptr, nullptr,
                             GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(window, nullptr);
  }

  void TearDown() override {
    if (LeftButtonDown()) SendLeftButton(false);
    if (loaded) panel.Destroy();
    windowLog = WindowLog();
    DestroyWindow(window);
    DispatchPendingMessages();
  }

  void Load(const char* directory) {
    panel.Load(window, directory, "MAIN", SkinPoll);
    panel.dragEnabled = 1;
    windowLog.panel = &panel;
    loaded = true;
  }

  bool BringToFront() {
    SetForegroundWindow(window);
    return WaitUntil([&] { return GetForegroundWindow() == window; });
  }

  POINT ScreenPoint(int x, int y) const {
    POINT point{x, y};
    ClientToScreen(window, &point);
    return point;
  }

  // Returns once the cursor reads back where it was put.
  void MoveCursorTo(int x, int y) { MoveCursorToScreen(ScreenPoint(x, y)); }
  void MoveCursorToScreen(POINT target) {
    SetCursorPos(target.x, target.y);
    bool arrived = WaitUntil([&] {
      POINT cursor{};
      GetCursorPos(&cursor);
      return cursor.x == target.x && cursor.y == target.y;
    });
    ASSERT_TRUE(arrived) << "cursor did not reach " << target.x << "," << target.y;
  }

  POINT CenterOf(int32_t index) const {
    RECT rect = panel.controls[index]->ControlRect();
    return POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
  }

  // One SkinPollTimer tick, run now.
  void Tick() { SkinPoll(window, WM_TIMER, SKIN_POLL_TIMER_ID, GetTickCount()); }

  void Repaint() {
    InvalidateRect(window, nullptr, FALSE);
    UpdateWindow(window);
  }

  // A skin of the test's own: a 300 x 120 background, a push button strip, a radio box, a check
  // box and a text, so that painting covers every kind.
  static const char* WriteTestSkin() {
    CreateDirectoryA("test_skin", nullptr);
    WriteSolidBmp24("test_skin\\back.bmp", 300, 120, 0x203040);
    WriteSolidBmp24("test_skin\\back2.bmp", 300, 120, 0x405060);
    WriteSolidBmp24("test_skin\\strip.bmp", 4 * 30, 20, 0xC08020);
    WriteTextFile("test_skin\\skin.ini",
                  "[MAIN]\r\n"
                  "Background1=back.bmp\r\n"
                  "Background2=back2.bmp\r\n"
                  "RECT=0,0,50,50\r\n"
                  "Button.1=PUSHBUTTON,10,10,30,20,strip.bmp,Push\r\n"
                  "Button.2=RADIOBOX,50,10,30,20,strip.bmp,Radio\r\n"
                  "Button.4=checkbox,90,10,30,20,strip.bmp,Check\r\n"
                  "Button.9=TEXT,10,60,6,12,CPU,RGB(255 0 0)\r\n");
    return "test_skin\\";
  }

  HWND window = nullptr;
  SkinPanel panel;
  bool loaded = false;
};

TEST_F(SkinPanelTest, DefaultSkinSizesTheWindowToBackground1AndKeepsItsPlace) {
  Load(".\\skin\\");
  BmpSize background;
  ASSERT_TRUE(ReadBmpSize("skin\\background1.bmp", &background));
  EXPECT_EQ(panel.loadError, 0);
  EXPECT_EQ(panel.width, background.width);
  EXPECT_EQ(panel.height, background.height);
  RECT area = WindowArea(window);
  EXPECT_TRUE(SameRect(area, RECT{CREATED_X, CREATED_Y, CREATED_X + background.width,
                                  CREATED_Y + background.height}));
  EXPECT_EQ(panel.focusedControl, -1);
  EXPECT_EQ(panel.selectedRegion, -1);
  EXPECT_STREQ(panel.skinDirectory, ".\\skin\\");
  EXPECT_STREQ(panel.section, "MAIN");
}

TEST_F(SkinPanelTest, DefaultSkinHasTheFourCommandButtonsWithTooltips) {
  Load(".\\skin\\");
  ASSERT_EQ(panel.controlCount, 4);
  const char* tooltips[] = {"Display Information Setup", "Fan Speed && Backlight Control",
                            "Hide to the notification area", "Quit Torvex"};
  for (int32_t i = 0; i < 4; ++i) {
    ASSERT_TRUE(panel.controls[i]) << i;
    EXPECT_EQ(panel.controls[i]->index, i);
    EXPECT_EQ(panel.controls[i]->kind, ControlKind::PUSHBUTTON);
    EXPECT_NE(panel.controls[i]->bitmap.Handle(), nullptr);
    EXPECT_STREQ(panel.controls[i]->tooltip, tooltips[i]);
  }
  EXPECT_FALSE(panel.controls[4]);

  char className[64] = {};
  GetClassNameA(panel.tooltipWindow, className, sizeof className);
  EXPECT_STREQ(className, "tooltips_class32");
  EXPECT_EQ(SendMessageA(panel.tooltipWindow, TTM_GETTOOLCOUNT, 0, 0), 4);
  for (int32_t i = 0; i < 4; ++i) {
    char text[256] = {};
    TTTOOLINFOA info{};
    info.cbSize = TTTOOLINFOA_V2_SIZE;
    info.lpszText = text;
    ASSERT_TRUE(
        SendMessageA(panel.tooltipWindow, TTM_ENUMTOOLSA, i, reinterpret_cast<LPARAM>(&info)));
    EXPECT_EQ(info.hwnd, window);
    EXPECT_EQ(info.uId, static_cast<UINT_PTR>(i));
    EXPECT_TRUE(SameRect(info.rect, panel.controls[i]->ControlRect())) << i;
    EXPECT_EQ(info.uFlags & (TTF_SUBCLASS | TTF_CENTERTIP), UINT(TTF_SUBCLASS | TTF_CENTERTIP));
    EXPECT_STREQ(text, tooltips[i]);
  }
}

TEST_F(SkinPanelTest, TestSkinGivesTextNoToolAndFollowsKeysPastGaps) {
  Load(WriteTestSkin());
  EXPECT_EQ(panel.loadError, 0);
  EXPECT_TRUE(
      SameRect(WindowArea(window), RECT{CREATED_X, CREATED_Y, CREATED_X + 300, CREATED_Y + 120}));
  ASSERT_EQ(panel.controlCount, 4);
  EXPECT_EQ(panel.controls[2]->kind, ControlKind::CHECKBOX);
  EXPECT_EQ(panel.controls[3]->kind, ControlKind::TEXT);
  EXPECT_STREQ(panel.controls[3]->text, "test_skin\\CPU");
  EXPECT_EQ(panel.controls[3]->textColor, 0x0000FFu);
  EXPECT_EQ(panel.controls[3]->bitmap.Handle(), nullptr);
  EXPECT_EQ(SendMessageA(panel.tooltipWindow, TTM_GETTOOLCOUNT, 0, 0), 3);
  EXPECT_EQ(panel.regions[0].right, 50);
  EXPECT_TRUE(IsRectEmpty(&panel.regions[3]));
}

TEST_F(SkinPanelTest, PollTimerFollowsTheRealCursorAndButton) {
  Load(".\\skin\\");
  ASSERT_TRUE(BringToFront());
  POINT quit = CenterOf(3);
  MoveCursorTo(quit.x, quit.y);
  EXPECT_TRUE(WaitUntil([&] { return panel.controls[3]->state == ControlState::HOVER; }));
  SendLeftButton(true);
  EXPECT_TRUE(WaitUntil([&] { return panel.controls[3]->previousState == ControlState::PRESSED; }));
  SendLeftButton(false);
  EXPECT_TRUE(WaitUntil([&] { return !windowLog.commands.empty(); }))
      << "state " << static_cast<int>(panel.controls[3]->state) << " previous "
      << static_cast<int>(panel.controls[3]->previousState) << " button " << LeftButtonDown()
      << " foreground " << (GetForegroundWindow() == window) << " cursor " << CursorText();
  EXPECT_EQ(windowLog.commands, std::vector<int>{3});

  // A press on the bare skin starts a window drag.
  RECT setup = panel.controls[0]->ControlRect();
  MoveCursorTo(setup.left - 20, setup.top + 5);
  EXPECT_TRUE(WaitUntil([&] { return panel.controls[3]->state == ControlState::NORMAL; }));
  SendLeftButton(true);
  EXPECT_TRUE(WaitUntil([&] { return windowLog.dragStarts > 0; }));
  SendLeftButton(false);
}

TEST_F(SkinPanelTest, TickThatChangesNothingInvalidatesNothing) {
  Load(".\\skin\\");
  ASSERT_TRUE(BringToFront());
  ASSERT_FALSE(LeftButtonDown());
  MoveCursorTo(5, 5);
  for (int i = 0; i < 3; ++i) Tick();
  ValidateRect(window, nullptr);
  Tick();
  RECT dirty{};
  EXPECT_FALSE(GetUpdateRect(window, &dirty, FALSE));

  POINT fan = CenterOf(1);
  MoveCursorTo(fan.x, fan.y);
  Tick();
  ASSERT_TRUE(GetUpdateRect(window, &dirty, FALSE));
  EXPECT_TRUE(SameRect(dirty, panel.controls[1]->ControlRect()));
  EXPECT_EQ(panel.controls[1]->state, ControlState::HOVER);
}

// The pointer comes onto a control only once the window is out of reach: any tick then, the
// test's or the timer's (which the window's messages may wake), must leave the control alone.
TEST_F(SkinPanelTest, MinimisedHiddenOrBackgroundWindowIsNotPolled) {
  Load(".\\skin\\");
  ASSERT_TRUE(BringToFront());
  POINT setup = CenterOf(0);
  const POINT onSetup = ScreenPoint(setup.x, setup.y);
  constexpr int BEHIND = -1;  // shown, with another window in front
  struct Case {
    const char* name;
    int hide;
  } cases[] = {{"minimised", SW_MINIMIZE}, {"hidden", SW_HIDE}, {"behind", BEHIND}};
  for (const Case& c : cases) {
    MoveCursorTo(5, 5);
    ASSERT_TRUE(WaitUntil([&] {
      Tick();
      return panel.controls[0]->state == ControlState::NORMAL;
    })) << c.name;
    std::optional<ForeignWindow> front;
    if (c.hide == BEHIND) {
      front.emplace();
      SetForegroundWindow(front->window);
      ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == front->window; }));
    } else {
      ShowWindow(window, c.hide);
    }
    MoveCursorToScreen(onSetup);
    Tick();
    EXPECT_EQ(panel.controls[0]->state, ControlState::NORMAL) << c.name;
    front.reset();
    ShowWindow(window, SW_RESTORE);
    ASSERT_TRUE(BringToFront());
    EXPECT_TRUE(WaitUntil([&] {
      Tick();
      return panel.controls[0]->state == ControlState::HOVER;
    })) << c.name
        << ": polled again once back in front";
  }
}

TEST_F(SkinPanelTest, RepaintsHoldNoGdiObjects) {
  Load(WriteTestSkin());
  ASSERT_TRUE(BringToFront());
  Repaint();
  int32_t before = CountGdiObjects();
  ASSERT_GT(before, 0);
  HDC dc = GetDC(window);
  for (int i = 0; i < 1000; ++i) panel.Paint(dc);
  ReleaseDC(window, dc);
  for (int i = 0; i < 20; ++i) Repaint();
  EXPECT_EQ(CountGdiObjects(), before);
}

TEST_F(SkinPanelTest, PaintShowsBackgroundAndButtonFrames) {
  Load(".\\skin\\");
  ASSERT_TRUE(BringToFront());
  MoveCursorTo(5, 5);
  Tick();
  Repaint();
  Screenshot shot(window);
  EXPECT_TRUE(shot.Save(ArtifactPath("skin_default.bmp")));

  RECT setup = panel.controls[0]->ControlRect();
  EXPECT_EQ(shot.Pixel(200, 140), PixelOfBitmapFile("skin\\background1.bmp", 200, 140));
  EXPECT_EQ(shot.Pixel(setup.left + 20, setup.top + 10),
            PixelOfBitmapFile("skin\\setup.bmp", 20, 10));

  // Hovered, the button shows its second frame.
  MoveCursorTo(setup.left + 20, setup.top + 10);
  Tick();
  UpdateWindow(window);
  Screenshot hovered(window);
  int frameWidth = setup.right - setup.left;
  EXPECT_EQ(hovered.Pixel(setup.left + 1, setup.top + 20),
            PixelOfBitmapFile("skin\\setup.bmp", frameWidth + 1, 20));
  EXPECT_TRUE(hovered.Save(ArtifactPath("skin_default_hover.bmp")));
}

TEST_F(SkinPanelTest, RegionCopyAndFocusRectangleShowOnlyWhenSet) {
  Load(WriteTestSkin());
  ASSERT_TRUE(BringToFront());
  const COLORREF back = RGB(0x20, 0x30, 0x40);
  const COLORREF back2 = RGB(0x40, 0x50, 0x60);
  Repaint();
  {
    Screenshot plain(window);
    EXPECT_EQ(plain.Pixel(45, 45), back);
    for (int x = 9; x <= 40; ++x) ASSERT_EQ(plain.Pixel(x, 9), back) << x;
  }
  panel.selectedRegion = 0;  // RECT=0,0,50,50
  panel.focusedControl = 0;  // the push button at (10, 10)
  Repaint();
  Screenshot marked(window);
  EXPECT_EQ(marked.Pixel(45, 45), back2);
  EXPECT_EQ(marked.Pixel(55, 45), back) << "outside region 0";
  int dotted = 0;
  for (int x = 9; x <= 40; ++x) dotted += marked.Pixel(x, 9) != back2 ? 1 : 0;
  EXPECT_GT(dotted, 0) << "focus rectangle one pixel above the button";

  // Unset again, the next paint shows neither: each paint starts from Background1.
  panel.selectedRegion = -1;
  panel.focusedControl = -1;
  Repaint();
  Screenshot plainAgain(window);
  EXPECT_EQ(plainAgain.Pixel(45, 45), back);
  for (int x = 9; x <= 40; ++x) ASSERT_EQ(plainAgain.Pixel(x, 9), back) << x;
}

TEST_F(SkinPanelTest, ReadoutRepaintsOnlyWhatChanges) {
  MoveCursorTo(5, 5);  // away from every control: no poll repaints
  Load(".\\skin\\");
  ReadoutState shown;
  std::snprintf(shown.figure, sizeof shown.figure, "41");
  panel.ShowReadout(shown);
  UpdateWindow(window);
  panel.ShowReadout(shown);
  RECT dirty{};
  EXPECT_FALSE(GetUpdateRect(window, &dirty, FALSE)) << "the same state again costs no paint";
  shown.figure[1] = '8';
  panel.ShowReadout(shown);
  ASSERT_TRUE(GetUpdateRect(window, &dirty, FALSE));
  EXPECT_TRUE(SameRect(dirty, RECT{82, 60, 102, 94})) << "the last of Digits=...,28,60,20,34,3,27";
}

TEST_F(SkinPanelTest, TopDownBackgroundShowsTheRightWayUp) {
  CreateDirectoryA("top_down_skin", nullptr);
  // 60 x 40, its rows stored from the top (a negative height): 10 red ones, then blue.
  std::vector<uint8_t> rows;
  for (int32_t pixel = 0; pixel < 60 * 40; ++pixel) {
    for (int32_t shift : {0, 8, 16}) rows.push_back((pixel < 600 ? 0xC02020 : 0x2020C0) >> shift);
  }
  ASSERT_TRUE(WriteBmp24("top_down_skin\\back.bmp", 60, -40, rows));
  WriteTextFile("top_down_skin\\skin.ini",
                "[MAIN]\r\nBackground1=back.bmp\r\nBackground2=back.bmp\r\n");
  Load("top_down_skin\\");
  EXPECT_EQ(panel.loadError, 0);
  ASSERT_TRUE(BringToFront());
  Repaint();
  Screenshot shot(window);
  EXPECT_EQ(shot.Pixel(30, 5), RGB(0xC0, 0x20, 0x20)) << "the first rows of the file on top";
  EXPECT_EQ(shot.Pixel(30, 30), RGB(0x20, 0x20, 0xC0));
}

TEST_F(SkinPanelTest, BrokenSkinLoadsPaintsAndPollsWithoutCrashing) {
  CreateDirectoryA("broken_skin", nullptr);
  WriteSolidBmp24("broken_skin\\tiny.bmp", 3, 3, 0xFFFFFF);
  std::string longText(1000, 'x');
  std::string numbers;
  for (int i = 0; i < 200; ++i) numbers += "99999999999,-";
  const std::string values[] = {
      "PUSHBUTTON,2147483647,-2147483648,99999999999,-99999,nothing.bmp,tip",
      "TEXT,0,0,2147483647,2147483647,CPU,RGB(255 0",
      "TEXT,-100,-100,-5,-7," + longText + ",rgb(1 2 3)",
      "checkbox,10,10,-50,-50,..\\nowhere\\x.bmp," + longText,
      "RADIOBOX,5,5,0,0,,",
      "IMAGE,1,1,1,1,tiny.bmp,t",
      "RadioBox,0,0,2000,2000,tiny.bmp,&&&",
      "TEXT,5,5,6,12,&&&&&,RGB(00255 0 0)",
      "PUSHBUTTON,0,0,100,100,tiny.bmp," + longText,
      ",,,,,,,,,,,",
      longText,
  };
  std::string ini = "[MAIN]\r\nBackground1=missing.bmp\r\nBackground2=\r\nRECT=" + numbers + "\r\n";
  for (int n = 1; n <= 300; ++n) {
    ini += "Button." + std::to_string(n) + "=" + values[n % (sizeof values / sizeof values[0])] +
           "\r\n";
  }
  WriteTextFile("broken_skin\\skin.ini", ini);

  Load("broken_skin\\");
  EXPECT_EQ(panel.loadError, 1);
  EXPECT_EQ(panel.background1.Handle(), nullptr);
  EXPECT_EQ(panel.controlCount, 256);
  EXPECT_TRUE(SameRect(WindowArea(window), RECT{CREATED_X, CREATED_Y, CREATED_X + CREATED_WIDTH,
                                                CREATED_Y + CREATED_HEIGHT}));
  EXPECT_EQ(panel.width, CREATED_WIDTH);
  EXPECT_EQ(panel.height, CREATED_HEIGHT);
  for (int32_t i = 0; i < panel.controlCount; ++i) {
    EXPECT_LT(strnlen(panel.controls[i]->tooltip, CONTROL_TEXT_SIZE), size_t{255});
    EXPECT_LT(strnlen(panel.controls[i]->text, CONTROL_TEXT_SIZE), size_t{CONTROL_TEXT_SIZE});
  }

  ASSERT_TRUE(BringToFront());
  Repaint();
  struct Place {
    int x, y;
    bool down;
  } places[] = {{1, 1, false},    {1, 1, true},      {1, 1, false}, {50, 50, true},
                {600, 200, true}, {600, 200, false}, {1, 1, false}};
  for (const Place& place : places) {
    MoveCursorTo(place.x, place.y);
    if (place.down != LeftButtonDown()) SendLeftButton(place.down);
    WaitUntil([&] { return LeftButtonDown() == place.down; });
    for (int i = 0; i < 3; ++i) Tick();
    UpdateWindow(window);
  }
  // The 1 x 1 image of Button.5 at (1, 1) went through a click and sent its index.
  EXPECT_NE(std::find(windowLog.commands.begin(), windowLog.commands.end(), 4),
            windowLog.commands.end());
}

}  // namespace
