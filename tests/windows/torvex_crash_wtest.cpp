// End to end: the real torvex.exe when the bridge library crashes inside a refresh pass, and when
// its event log cannot be written at all.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <string>
#include <vector>

#include "windows/support/torvex_log.h"
#include "windows/support/torvex_test.h"

namespace {

constexpr DWORD ACCESS_VIOLATION = 0xC0000005;

std::vector<std::string> DumpNames(const std::string& folder) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((folder + "\\torvex-*.dmp").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    names.push_back(found.cFileName);
  } while (FindNextFileA(search, &found));
  FindClose(search);
  std::sort(names.begin(), names.end());
  return names;
}

bool StartsWith(const std::string& path, const std::string& bytes) {
  std::ifstream file(path, std::ios::binary);
  std::string start(bytes.size(), '\0');
  return file.read(start.data(), start.size()) && start == bytes;
}

using TorvexCrash = TorvexTest;

// The 40th write, inside the second frame of the first pass, faults in the library's
// CH341EppWriteData on the refresh worker's thread.
TEST_F(TorvexCrash, ACrashInsideTheBridgeLibraryLeavesADumpAndALastLineAndEndsTheProcess) {
  const std::string folder = torvex.LogFolder();
  CreateDirectoryA((torvex.AppDataFolder() + "\\Velquin").c_str(), nullptr);
  CreateDirectoryA(folder.c_str(), nullptr);
  for (const char* old :
       {"torvex-20200101-000000.dmp", "torvex-20200102-000000.dmp", "torvex-20200103-000000.dmp",
        "torvex-20200104-000000.dmp", "torvex-20200105-000000.dmp"}) {
    std::ofstream(folder + "\\" + old) << "an earlier crash";
  }
  scenario.bridges[0].crashAfter = 40;
  ASSERT_TRUE(Start());

  EXPECT_EQ(torvex.WaitForExit(20000), ACCESS_VIOLATION) << "the process ends, with the code";
  std::vector<std::string> dumps = DumpNames(folder);
  ASSERT_EQ(dumps.size(), 5u) << "the oldest of six goes";
  EXPECT_EQ(dumps[0], "torvex-20200102-000000.dmp");
  const std::string& dump = dumps.back();
  EXPECT_TRUE(StartsWith(folder + "\\" + dump, "MDMP")) << dump;
  std::vector<std::string> events = TorvexLog(folder).Events();
  ASSERT_FALSE(events.empty());
  EXPECT_EQ(events.back().find("Torvex crashed: exception 0xC0000005 (access violation) at 0x"), 0u)
      << events.back();
  EXPECT_NE(events.back().find("(CH341DLL.DLL+0x"), std::string::npos) << events.back();
  EXPECT_NE(events.back().find("dump " + dump + " written"), std::string::npos) << events.back();
  EXPECT_FALSE(ReadSettingsValue("Display Item").has_value()) << "a crash saves no settings";
}

TEST_F(TorvexCrash, ALogFolderThatCannotBeMadeChangesNothingElse) {
  // A file where the log's folder belongs.
  std::ofstream(torvex.AppDataFolder() + "\\Velquin") << "in the way";
  ASSERT_NE(StartWithWindow(), nullptr);
  EXPECT_EQ(scenario.Log().WaitForCount(FrameOf(0), 8, 5000).size(), 8u) << "two whole passes";
  EXPECT_TRUE(torvex.FindWindows("#32770", nullptr).empty()) << "no box";
  EXPECT_EQ(torvex.Quit(), 1u);
  EXPECT_TRUE(ReadSettingsValue("Display Item").has_value()) << "the settings are saved";
}

}  // namespace
