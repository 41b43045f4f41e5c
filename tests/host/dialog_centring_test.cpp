#include "settings/dialog_centring.h"

#include <gtest/gtest.h>

namespace {

// The About box as it measures under Wine, 417 x 110 pixels, wherever it was first placed.
const ScreenRect ABOUT_BOX = {50, 60, 467, 170};

TEST(DialogCentring, OverTheWindowAddsItsOrigin) {
  DialogPosition at = CentreOverWindow(ABOUT_BOX, {133, 135, 553, 285});
  EXPECT_EQ(at.x, 134);  // 133 + 3 / 2
  EXPECT_EQ(at.y, 155);
}

TEST(DialogCentring, LargerThanTheWindowSticksOutEvenlyTruncatingTowardZero) {
  // (100 - 357) / 2 is -128 (not -129), and (50 - 111) / 2 is -30 (not -31).
  DialogPosition at = CentreOverWindow({0, 0, 357, 111}, {10, 10, 110, 60});
  EXPECT_EQ(at.x, 10 - 128);
  EXPECT_EQ(at.y, 10 - 30);
  at = CentreOverWindow({0, 0, 357, 111}, {-300, -200, -200, -150});
  EXPECT_EQ(at.x, -428) << "may leave the screen";
  EXPECT_EQ(at.y, -230);
}

TEST(DialogCentring, OnTheDesktopLeavesOutItsOrigin) {
  DialogPosition at = CentreOnDesktop(ABOUT_BOX, {0, 0, 1024, 768});
  EXPECT_EQ(at.x, 303);
  EXPECT_EQ(at.y, 329);
  at = CentreOnDesktop(ABOUT_BOX, {-1024, 100, 0, 868});
  EXPECT_EQ(at.x, 303);
  EXPECT_EQ(at.y, 329);
}

}  // namespace
