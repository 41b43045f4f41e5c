#include "settings/work_area_fit.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

// A 1024 x 768 screen less a 32-pixel taskbar at the bottom, and a second monitor left of it
// whose taskbar is at its top.
constexpr RecordRect SCREEN = {0, 0, 1024, 736};
constexpr RecordRect LEFT_SCREEN = {-1280, 40, 0, 1024};

TEST(WorkAreaFit, ADialogMovesTheLeastWayOntoTheWorkAreaCaptionFirst) {
  struct Case {
    const char* name;
    RecordRect window, area;
    int32_t left, top;
  } cases[] = {
      {"inside stays", {100, 100, 500, 300}, SCREEN, 100, 100},
      // The fan dialog centred over the window at the top of the screen.
      {"above the top", {279, -87, 621, 319}, SCREEN, 279, 0},
      {"below the taskbar's edge", {300, 600, 700, 800}, SCREEN, 300, 536},
      {"past both right and left edges", {900, 10, 1200, 110}, SCREEN, 724, 10},
      {"off the left", {-50, 10, 250, 110}, SCREEN, 0, 10},
      {"taller than the area", {100, 200, 300, 1000}, SCREEN, 100, 0},
      {"wider than the area", {-300, 100, 1400, 200}, SCREEN, 0, 100},
      {"under a taskbar at the top", {-700, 0, -300, 300}, LEFT_SCREEN, -700, 40},
      {"as far out as coordinates go", {INT32_MAX - 400, INT32_MIN, INT32_MAX, INT32_MIN + 200},
       SCREEN, 624, 0},
  };
  for (const Case& c : cases) {
    RecordRect placed = FitIntoWorkArea(c.window, c.area);
    EXPECT_EQ(placed.left, c.left) << c.name;
    EXPECT_EQ(placed.top, c.top) << c.name;
    EXPECT_EQ(placed.right - placed.left, c.window.right - c.window.left) << c.name;
    EXPECT_EQ(placed.bottom - placed.top, c.window.bottom - c.window.top) << c.name;
  }
}

}  // namespace
