// The skin that ships with Torvex, read the way the panel reads it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "skin/skin_file.h"
#include "support/bmp_file.h"
#include "support/profile_text.h"

namespace {

std::string DefaultSkinFolder() {
  std::string source = __FILE__;  // .../tests/host/skin_default_test.cpp
  return source.substr(0, source.rfind("/tests/")) + "/skin/default/";
}

class DefaultSkin : public ::testing::Test {
 protected:
  std::string folder = DefaultSkinFolder();
  ProfileText ini = ProfileText::FromFile(folder + "skin.ini");
};

TEST_F(DefaultSkin, FirstFourControlsAreTheCommandButtonsInCommandOrder) {
  std::vector<ControlEntry> entries = ReadControlEntries(ini.Reader(), "MAIN");
  ASSERT_EQ(entries.size(), 4u);
  // Tooltips drop a single ampersand as a mnemonic marker, so the file doubles it.
  const char* tooltips[] = {"Display Information Setup", "Fan Speed && Backlight Control",
                            "Hide to the notification area", "Quit Torvex"};
  for (size_t i = 0; i < entries.size(); ++i) {
    EXPECT_EQ(entries[i].kind, ControlKind::PUSHBUTTON) << i;
    EXPECT_STREQ(entries[i].extra, tooltips[i]) << i;
    EXPECT_EQ(std::string(entries[i].fileName).find('\\'), std::string::npos) << i;
  }
}

TEST_F(DefaultSkin, StripsHoldFourFramesOfTheButtonSize) {
  for (const ControlEntry& entry : ReadControlEntries(ini.Reader(), "MAIN")) {
    BmpSize strip;
    ASSERT_TRUE(ReadBmpSize(folder + entry.fileName, &strip)) << entry.fileName;
    EXPECT_EQ(strip.width, entry.width * 4) << entry.fileName;
    EXPECT_EQ(strip.height, entry.height) << entry.fileName;
  }
}

TEST_F(DefaultSkin, ButtonsLieInsideTheBackgroundWithoutOverlapping) {
  BmpSize background;
  char name[SKIN_NAME_SIZE];
  ReadBackgroundFileName(ini.Reader(), "MAIN", "Background1", "", name, sizeof name);
  ASSERT_TRUE(ReadBmpSize(folder + name, &background));
  BmpSize second;
  ReadBackgroundFileName(ini.Reader(), "MAIN", "Background2", "", name, sizeof name);
  ASSERT_TRUE(ReadBmpSize(folder + name, &second));
  EXPECT_EQ(second.width, background.width);
  EXPECT_EQ(second.height, background.height);

  std::vector<SkinRect> rects;
  for (const ControlEntry& entry : ReadControlEntries(ini.Reader(), "MAIN")) {
    ControlRecord control;
    control.x = entry.x;
    control.y = entry.y;
    control.width = entry.width;
    control.height = entry.height;
    SkinRect rect = ComputeControlRect(control, 0);
    EXPECT_GE(rect.left, 0);
    EXPECT_GE(rect.top, 0);
    EXPECT_LE(rect.right, background.width);
    EXPECT_LE(rect.bottom, background.height);
    for (const SkinRect& other : rects) {
      bool apart = rect.right <= other.left || other.right <= rect.left ||
                   rect.bottom <= other.top || other.bottom <= rect.top;
      EXPECT_TRUE(apart) << entry.fileName;
    }
    rects.push_back(rect);
  }
}

}  // namespace
