#include "monitor/memory_status.h"

#include <gtest/gtest.h>

namespace {

// On a machine without swap the two pairs are alike; here each figure differs from every other.
TEST(MemoryStatus, RamComesFromPhysicalMemoryAndThePageFileFromItsOwnFields) {
  MemoryStatus status{64, 50, 8000, 1000, 24000, 6000, 7, 8, 9};
  MemoryFigures figures = MemoryFiguresOf(status);
  EXPECT_EQ(figures.physical.total, 8000u);
  EXPECT_EQ(figures.physical.available, 1000u);
  EXPECT_EQ(figures.pageFile.total, 24000u);
  EXPECT_EQ(figures.pageFile.available, 6000u);
}

}  // namespace
