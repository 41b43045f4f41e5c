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
                                    "torvex-20261207-080302.dmp.txt"};
  ASSERT_EQ(ChooseDumpsToDelete(names.data(), names.size(), CRASH_DUMPS_KEPT), 1u);
  EXPECT_EQ(names[0], "torvex-20240601-090000.dmp") << "the oldest of six";
  EXPECT_EQ(ChooseDumpsToDelete(names.data(), 4, CRASH_DUMPS_KEPT), 0u);
}

TEST(CrashReport, TheLastLineTellsTheExceptionWhereItHappenedAndTheDump) {
  EXPECT_EQ(DescribeCrash(0xC0000005, 0x6A801234, "CH341DLL.DLL", 0x6A800000, "x.dmp", true),
            "Torvex crashed: exception 0xC0000005 (access violation) at 0x6A801234 "
            "(CH341DLL.DLL+0x1234); dump x.dmp written");
  EXPECT_EQ(DescribeCrash(0xE0001234, 0x6A801234, "", 0, "x.dmp", false),
            "Torvex crashed: exception 0xE0001234 at 0x6A801234; the dump x.dmp could not be "
            "written");
}

}  // namespace
