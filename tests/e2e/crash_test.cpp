// End to end: the real torvex.exe when the bridge library crashes inside a refresh pass, and when
// its event log cannot be written at all.
#include <windows.h>

#include <shlobj.h>

#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <sstream>
#include <string>

#include "log/log_rotation.h"
#include "res/version.h"
#include "windows/support/torvex_log.h"
#include "windows/support/torvex_test.h"

namespace {

using TorvexCrash = TorvexTest;

// The 40th write, inside the second frame of the first pass, faults in the library's
// CH341EppWriteData on the refresh worker's thread. Earlier runs left five dumps and a full log.
TEST_F(TorvexCrash, ACrashInsideTheBridgeLibraryLeavesADumpAndALastLineAndEndsTheProcess) {
  const std::string folder = torvex.LogFolder();
  ASSERT_EQ(SHCreateDirectoryExA(nullptr, folder.c_str(), nullptr), ERROR_SUCCESS);
  for (char day = '1'; day <= '5'; ++day) {
    std::ofstream(folder + "\\torvex-2020010" + day + "-000000.dmp") << "an earlier crash";
  }
  const std::string nearlyFull(LOG_ROTATE_BYTES - 10, 'x');
  std::ofstream(folder + "\\torvex.log", std::ios::binary) << nearlyFull;
  std::ofstream(folder + "\\torvex.old.log") << "the older log";
  scenario.bridges[0].crashAfter = 40;
  ASSERT_TRUE(Start());

  EXPECT_EQ(torvex.WaitForExit(20000), 0xC0000005u) << "ended with the exception's code";
  std::set<std::string> dumps;  // in the order of their times
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((folder + "\\torvex-*.dmp").c_str(), &found);
  for (bool more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileA(search, &found)) {
    dumps.insert(found.cFileName);
  }
  FindClose(search);
  ASSERT_EQ(dumps.size(), 5u) << "the oldest of six goes";
  EXPECT_EQ(*dumps.begin(), "torvex-20200102-000000.dmp");
  std::string signature(4, '\0');
  std::ifstream(folder + "\\" + *dumps.rbegin(), std::ios::binary).read(signature.data(), 4);
  EXPECT_EQ(signature, "MDMP") << *dumps.rbegin();
  std::ostringstream old;
  old << std::ifstream(folder + "\\torvex.old.log", std::ios::binary).rdbuf();
  EXPECT_EQ(old.str(), nearlyFull) << "the full log was moved aside, replacing the older one";
  std::vector<std::string> events = TorvexLog(folder).Events();
  ASSERT_FALSE(events.empty());
  EXPECT_EQ(events.front().find("Torvex " TORVEX_VERSION_TEXT " started"), 0u) << "a new log";
  const std::string& last = events.back();
  EXPECT_EQ(last.find("Torvex crashed: exception 0xC0000005 (access violation) at 0x"), 0u) << last;
  EXPECT_NE(last.find("(CH341DLL.DLL+0x"), std::string::npos) << last;
  EXPECT_NE(last.find("dump " + *dumps.rbegin() + " written"), std::string::npos) << last;
  EXPECT_FALSE(ReadSettingsValue("Display Item").has_value()) << "a crash saves no settings";
}

TEST_F(TorvexCrash, ALogFolderThatCannotBeMadeChangesNothingElse) {
  std::ofstream(torvex.AppDataFolder() + "\\Velquin") << "a file where the log's folder belongs";
  ASSERT_NE(StartWithWindow(), nullptr);
  EXPECT_EQ(scenario.Log().WaitForCount(FrameOf(0), 4, 5000).size(), 4u) << "a whole pass";
  EXPECT_TRUE(torvex.FindWindows("#32770", nullptr).empty()) << "no box";
  EXPECT_EQ(torvex.Quit(), 1u);
  EXPECT_TRUE(ReadSettingsValue("Display Item").has_value()) << "the settings are saved";
}

}  // namespace
