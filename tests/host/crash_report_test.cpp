#include "app/crash_report.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(CrashReport, DumpsAreNamedByTheirTimeAndOnlyTheNewestFiveStay) {
  EXPECT_EQ(CrashDumpName({2026, 12, 7, 8, 3, 1, 999}), "torvex-20261207-080301.dmp");
  std::vector<std::string> names = {"torvex-20261207-080301.dmp",
                                    "torvex.log",
                                    "torvex-20250101-000000.dmp",
                                    "torvex-20261207-080300.dmp",
                                    "torvex-notes.dmp",
                                    "torvex-20261101-120000.dmp",
                                    "torvex-2026120-0803011.dmp",
                                    "torvex.old.log",
                                    "torvex-20240601-090000.dmp",
                                    "torvex-20261207-080302.dmp",
                                    "torvex-20261207-080302.dmp.txt",
                                    "torvex-20261207-075959.dmp"};
  size_t doomed = ChooseDumpsToDelete(names.data(), names.size(), CRASH_DUMPS_KEPT);
  ASSERT_EQ(doomed, 2u);
  EXPECT_EQ(names[0], "torvex-20240601-090000.dmp");
  EXPECT_EQ(names[1], "torvex-20250101-000000.dmp");
  EXPECT_EQ(ChooseDumpsToDelete(names.data(), 4, CRASH_DUMPS_KEPT), 0u) << "five or fewer stay";
}

TEST(CrashReport, TheLastLineTellsTheExceptionWhereItHappenedAndTheDump) {
  struct Case {
    uint32_t code;
    const char* module;
    bool written;
    const char* line;
  } cases[] = {
      {0xC0000005, "CH341DLL.DLL", true,
       "Torvex crashed: exception 0xC0000005 (access violation) at 0x6A801234 "
       "(CH341DLL.DLL+0x1234); "
       "dump torvex-20261207-080301.dmp written"},
      {0xE0001234, "", false,
       "Torvex crashed: exception 0xE0001234 at 0x6A801234; the dump "
       "torvex-20261207-080301.dmp could not be written"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DescribeCrash(c.code, 0x6A801234, c.module, 0x6A800000, "torvex-20261207-080301.dmp",
                            c.written),
              c.line);
  }
}

}  // namespace
