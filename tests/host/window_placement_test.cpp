#include "settings/window_placement.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

// Two monitors side by side, each less its taskbar, and the window's 662 x 230 size.
const RecordRect SCREENS[] = {{0, 0, 1280, 984}, {1280, 0, 2304, 728}};
constexpr int32_t W = 662, H = 230;

TEST(WindowPlacement, HalfInAWorkAreaStaysElseComesInKeepingItsSize) {
  struct Case {
    const char* name;
    int32_t left, top;
    int32_t placedLeft, placedTop;
  } cases[] = {
      {"inside", 100, 100, 100, 100},
      {"half over the left edge", -W / 2, 10, -W / 2, 10},
      {"half on each monitor", 1280 - W / 2, 300, 1280 - W / 2, 300},
      {"a 5 x 5 corner showing", 1275, 979, 1280 - W, 984 - H},
      {"a sliver at the top left", -400, -140, 0, 0},
      {"under the second monitor's taskbar", 1500, 700, 1500, 728 - H},
      {"on a monitor that has gone", 5000, 300, 2304 - W, 300},
      {"beyond both, nearer the first", -5000, 2000, 0, 984 - H},
      {"as far out as coordinates go", INT32_MAX - W, INT32_MIN, 2304 - W, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(PlaceOnWorkArea({c.left, c.top, c.left + W, c.top + H}, SCREENS, 2),
              (RecordRect{c.placedLeft, c.placedTop, c.placedLeft + W, c.placedTop + H}))
        << c.name;
  }
  EXPECT_EQ(PlaceOnWorkArea({-3000, -3000, 0, 0}, SCREENS, 1), (RecordRect{0, 0, 3000, 3000}))
      << "a window larger than the area keeps its corner in it";
}

TEST(WindowPlacement, ADialogComesWhollyOntoItsMonitorsWorkAreaCaptionFirst) {
  struct Case {
    const char* name;
    RecordRect dialog;
    int32_t placedLeft, placedTop;
  } cases[] = {
      {"inside stays", {100, 100, 500, 300}, 100, 100},
      // The fan dialog centred over the window at (300, 0): its caption above the screen.
      {"above the top", {279, -87, 621, 319}, 279, 0},
      {"over the taskbar", {300, 900, 700, 1100}, 300, 784},
      {"mostly on the second monitor", {1200, -87, 1542, 319}, 1280, 0},
      {"taller than the second's area", {1500, 100, 1700, 1000}, 1500, 0},
      {"wider than the second's area", {1000, 100, 2400, 200}, 1280, 100},
      {"on a monitor that has gone", {5000, 300, 5300, 500}, 2004, 300},
      {"as far out as coordinates go",
       {INT32_MAX - 400, INT32_MIN, INT32_MAX, INT32_MIN + 200},
       1904,
       0},
  };
  for (const Case& c : cases) {
    const RecordRect& d = c.dialog;
    EXPECT_EQ(PlaceWhollyOnWorkArea(d, SCREENS, 2),
              (RecordRect{c.placedLeft, c.placedTop, c.placedLeft + (d.right - d.left),
                          c.placedTop + (d.bottom - d.top)}))
        << c.name;
  }
}

}  // namespace
