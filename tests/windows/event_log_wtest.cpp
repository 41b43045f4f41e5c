// The event log's writer under Wine: the file it appends to in %LOCALAPPDATA%\Velquin\Torvex, and
// a full file moved aside to torvex.old.log, replacing the older one.
#include <windows.h>

#include <shlobj.h>

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "log/event_log.h"
#include "log/log_rotation.h"
#include "log/log_writer.h"
#include "windows/support/torvex_process.h"

namespace {

std::string ReadAll(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << file.rdbuf();
  return bytes.str();
}

TEST(EventLogWriter, AFullLogIsMovedAsideAndANewOneBegun) {
  char here[MAX_PATH];
  GetCurrentDirectoryA(sizeof here, here);
  const std::string appData = std::string(here) + "\\event-log-wtest";
  DeleteTree(appData);
  const std::string folder = appData + "\\Velquin\\Torvex";
  ASSERT_EQ(SHCreateDirectoryExA(nullptr, folder.c_str(), nullptr), ERROR_SUCCESS);
  const std::string nearlyFull(LOG_ROTATE_BYTES - 10, 'x');
  std::ofstream(folder + "\\torvex.log", std::ios::binary) << nearlyFull;
  std::ofstream(folder + "\\torvex.old.log", std::ios::binary) << "the older one";
  SetEnvironmentVariableA("LOCALAPPDATA", appData.c_str());

  StartEventLog();
  EXPECT_EQ(EventLogFolder(), folder);
  LogEvent("one line more");
  StopEventLog();

  EXPECT_EQ(ReadAll(folder + "\\torvex.old.log"), nearlyFull);
  std::string fresh = ReadAll(folder + "\\torvex.log");
  EXPECT_EQ(fresh.size(), 24 + sizeof "one line more" - 1 + 2) << fresh;
  EXPECT_NE(fresh.find(" one line more\r\n"), std::string::npos) << fresh;
  DeleteTree(appData);
}

}  // namespace
