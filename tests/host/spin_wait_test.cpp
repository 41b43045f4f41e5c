#include "meter/spin_wait.h"

#include <gtest/gtest.h>

TEST(SpinWait, TargetIsTheFrequencyShareOfTheCount) {
  EXPECT_EQ(SpinTarget(1000, 10000000, 100), 1000 + 1000);
  EXPECT_EQ(SpinTarget(0, 3579545, 100), 357);  // frequency / 10000, rounded down
  EXPECT_EQ(SpinTarget(-50, 1000000000, 100), -50 + 100000);
}

TEST(SpinWait, ZeroFrequencyOrCountWaitsNotAtAll) {
  EXPECT_EQ(SpinTarget(1234, 0, 100), 1234);
  EXPECT_EQ(SpinTarget(1234, 10000000, 0), 1234);
  EXPECT_EQ(SpinTarget(1234, -1, 100), 1234);
}
