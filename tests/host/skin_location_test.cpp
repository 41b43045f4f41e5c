#include "app/skin_location.h"

#include <gtest/gtest.h>

namespace {

TEST(SkinLocation, WorkingDirectoryFirstThenBesideTheProgram) {
  const std::string longFolder = "C:\\" + std::string(300, 'x') + "\\torvex.exe";
  struct Case {
    bool workingSkin;
    std::string program;
    const char* expected;
  } cases[] = {
      {true, "C:\\Programs\\Torvex\\torvex.exe", ".\\skin\\"},
      {false, "C:\\Programs\\Torvex\\torvex.exe", "C:\\Programs\\Torvex\\skin\\"},
      {false, "torvex.exe", ".\\skin\\"},  // no folder to look in
      {false, "", ".\\skin\\"},
      {false, longFolder, ".\\skin\\"},  // would not fit the panel's directory field
  };
  for (const Case& c : cases)
    EXPECT_EQ(ChooseSkinDirectory(c.workingSkin, c.program, 255), c.expected) << c.program;
}

}  // namespace
