#include "windows/support/torvex_test.h"

#include <algorithm>
#include <string>

#include "windows/support/user_input.h"

namespace {

// Also the name of the test's folder: the slashes of a parameterised test's name become dashes.
std::string CurrentTestName() {
  const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
  std::string name = std::string(test->test_suite_name()) + "." + test->name();
  std::replace(name.begin(), name.end(), '/', '-');
  return name;
}

}  // namespace

TorvexTest::TorvexTest() : torvex(CurrentTestName()) {
  scenario.bridges[0].present = true;
}

void TorvexTest::SetUp() {
  DeleteSettingsKey();
}

void TorvexTest::TearDown() {
  torvex.Quit();
  DeleteSettingsKey();
}

bool TorvexTest::Start() {
  return scenario.Apply() && torvex.Start(scenario.IniPath());
}

bool TorvexTest::ApplyScenario() {
  return torvex.IsRunning() ? scenario.ApplyWhileLoaded() : scenario.Apply();
}

HWND TorvexTest::StartWithWindow() {
  window = Start() ? torvex.MainWindow() : nullptr;
  return window;
}

HWND TorvexTest::StartInForeground() {
  if (!StartWithWindow() || !BringToForeground(window)) return nullptr;
  return window;
}

void TorvexTest::AnswerBox(const char* expected) {
  HWND box = nullptr;
  EXPECT_EQ(torvex.WaitForMessageBox(&box), expected);
  if (!box) return;
  PostMessageA(box, WM_COMMAND, IDOK, 0);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(box); }));
}

void TorvexTest::ExpectDraggedBy(HWND target, POINT from, int dx, int dy) {
  RECT before = DragFrom(target, from.x, from.y, dx, dy);
  RECT after = WindowRect(target);
  EXPECT_EQ(after.left - before.left, dx);
  EXPECT_EQ(after.top - before.top, dy);
  EXPECT_FALSE(IsMovingWindow(target)) << "the release ends the move";
  EXPECT_TRUE(torvex.IsRunning());
}

RECT WindowRect(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  return rect;
}

bool Contains(const RECT& outer, const RECT& inner) {
  return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
         inner.bottom <= outer.bottom;
}

bool IsOnWorkArea(HWND window) {
  RECT area{};
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
  return Contains(area, WindowRect(window));
}

POINT CentreOf(const RECT& rect) {
  return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

POINT CentredPosition(HWND box, HWND frame) {
  RECT boxRect = WindowRect(box);
  RECT frameRect = WindowRect(frame);
  return {
      frameRect.left + ((frameRect.right - frameRect.left) - (boxRect.right - boxRect.left)) / 2,
      frameRect.top + ((frameRect.bottom - frameRect.top) - (boxRect.bottom - boxRect.top)) / 2};
}

void ExpectAt(HWND window, POINT expected) {
  RECT rect = WindowRect(window);
  EXPECT_EQ(rect.left, expected.x);
  EXPECT_EQ(rect.top, expected.y);
}
