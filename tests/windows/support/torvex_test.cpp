#include "windows/support/torvex_test.h"

#include <string>

#include "windows/support/user_input.h"

namespace {

std::string CurrentTestName() {
  const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
  return std::string(test->test_suite_name()) + "." + test->name();
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
  return scenario.Apply(torvex.IsRunning());
}

HWND TorvexTest::StartWithWindow() {
  window = Start() ? torvex.MainWindow() : nullptr;
  return window;
}

HWND TorvexTest::StartInForeground() {
  if (!StartWithWindow() || !BringToForeground(window)) return nullptr;
  return window;
}

void TorvexTest::ExpectDraggedBy(HWND target, POINT from, int dx, int dy) {
  RECT before = WindowRect(target);
  DragFrom(target, from.x, from.y, dx, dy);
  RECT after{};
  EXPECT_TRUE(WaitUntil(
      [&] {
        after = WindowRect(target);
        return after.left != before.left;
      },
      2000));
  EXPECT_NEAR(after.left - before.left, dx, 4);
  EXPECT_NEAR(after.top - before.top, dy, 4);
  EXPECT_TRUE(torvex.IsRunning());
}

RECT WindowRect(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  return rect;
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
