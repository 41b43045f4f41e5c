#include "skin/skin_file.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>
#include <vector>

#include "support/logged_events.h"
#include "support/profile_text.h"

namespace {

TEST(SkinFile, PathDependsOnTheDirectorysTrailingBackslash) {
  struct Case {
    const char* directory;
    const char* path;
  } cases[] = {
      {".\\skin\\", ".\\skin\\skin.ini"},
      {".\\skin", ".\\skin\\skin.ini"},
      {"C:\\Skins\\Blue\\", "C:\\Skins\\Blue\\skin.ini"},
      {"", "\\skin.ini"},
  };
  for (const Case& c : cases) {
    char path[SKIN_NAME_SIZE];
    FormSkinFilePath(c.directory, path, sizeof path);
    EXPECT_STREQ(path, c.path) << c.directory;
  }
}

TEST(SkinFile, OverlongDirectoryGivesAPathCutToTheBuffer) {
  std::string directory(400, 'd');
  char path[SKIN_NAME_SIZE];
  FormSkinFilePath(directory.c_str(), path, sizeof path);
  EXPECT_EQ(std::strlen(path), SKIN_NAME_SIZE - 1);
}

TEST(SkinFile, FieldsAreCutAtCommasAndMissingOnesAreEmpty) {
  struct Case {
    const char* value;
    const char* fields[4];
  } cases[] = {
      {"a,b,c", {"a", "b", "c", ""}},
      {"a,,b", {"a", "", "b", ""}},
      {",a", {"", "a", "", ""}},
      {"a,", {"a", "", "", ""}},
      {"", {"", "", "", ""}},
      {" a , b", {" a ", " b", "", ""}},
      {"1,2,3,4,5,6", {"1", "2", "3", "4"}},
  };
  for (const Case& c : cases) {
    std::string_view fields[4];
    CutSkinFields(c.value, fields, 4);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(fields[i], c.fields[i]) << c.value << " field " << i;
  }
}

TEST(SkinFile, IntegersReadLikeAtoiWithoutOverflow) {
  struct Case {
    std::string field;
    int32_t value;
  } cases[] = {
      {"", 0},
      {"abc", 0},
      {"12", 12},
      {"  -7x", -7},
      {"+5", 5},
      {"\t\n 9", 9},
      {"1e3", 1},
      {"- 3", 0},
      {"0x10", 0},
      {"--1", 0},
      {"007", 7},
      {"2147483647", INT32_MAX},
      {"2147483648", INT32_MAX},
      {"-2147483648", INT32_MIN},
      {"-2147483649", INT32_MIN},
      {"99999999999999999999999", INT32_MAX},
      {std::string(1000, '9'), INT32_MAX},
      {"-" + std::string(1000, '9'), INT32_MIN},
  };
  for (const Case& c : cases) EXPECT_EQ(ReadSkinInteger(c.field), c.value) << c.field;
}

TEST(SkinFile, KindWordsMatchWithoutRegardToCase) {
  struct Case {
    const char* word;
    ControlKind kind;
  } cases[] = {
      {"PUSHBUTTON", ControlKind::PUSHBUTTON}, {"pushbutton", ControlKind::PUSHBUTTON},
      {"PushButton", ControlKind::PUSHBUTTON}, {"RadioBox", ControlKind::RADIOBOX},
      {"checkbox", ControlKind::CHECKBOX},     {"Text", ControlKind::TEXT},
      {"BUTTON", ControlKind::IMAGE},          {"", ControlKind::IMAGE},
      {"PUSHBUTTON ", ControlKind::IMAGE},     {"TEXTS", ControlKind::IMAGE},
      {"IMAGE", ControlKind::IMAGE},
  };
  for (const Case& c : cases) EXPECT_EQ(KindFromWord(c.word), c.kind) << c.word;
}

TEST(SkinFile, FileNamesJoinOnlyWithoutABackslash) {
  struct Case {
    const char* directory;
    const char* name;
    const char* joined;
  } cases[] = {
      {".\\skin\\", "skin1.bmp", ".\\skin\\skin1.bmp"},
      {".\\skin", "skin1.bmp", ".\\skinskin1.bmp"},
      {".\\skin\\", "", ".\\skin\\"},
      {".\\skin\\", "CPU", ".\\skin\\CPU"},
      {".\\skin\\", "other\\b.bmp", "other\\b.bmp"},
      {".\\skin\\", "C:\\art\\b.bmp", "C:\\art\\b.bmp"},
      {".\\skin\\", "\\b.bmp", "\\b.bmp"},
      {".\\skin\\", "a/b.bmp", ".\\skin\\a/b.bmp"},
  };
  for (const Case& c : cases) {
    char joined[SKIN_NAME_SIZE];
    JoinSkinFileName(c.directory, c.name, joined, sizeof joined);
    EXPECT_STREQ(joined, c.joined) << c.directory << " + " << c.name;
  }
}

// A cut name would be another file, so a twice-size name that does not fit is none at all.
TEST(SkinFile, TwiceSizeNamesLieInTheirFolderOfTheSkin) {
  const std::string longName(250, 'n');
  struct Case {
    const char* directory;
    const char* folder;
    std::string name;
    const char* joined;  // null: none
  } cases[] = {
      {".\\skin\\", "2x", "face.bmp", ".\\skin\\2x\\face.bmp"},
      {".\\skin\\", "art\\2x\\", "face.bmp", ".\\skin\\art\\2x\\face.bmp"},
      {".\\skin\\", "", "face.bmp", nullptr},
      {".\\skin\\", "2x", "", nullptr},
      {".\\skin\\", "2x", "..\\shared\\face.bmp", nullptr},
      {".\\skin\\", "2x", longName, nullptr},
  };
  for (const Case& c : cases) {
    char joined[SKIN_NAME_SIZE] = "untouched";
    bool formed = FormTwiceSizeFileName(c.directory, c.folder, c.name, joined, sizeof joined);
    EXPECT_EQ(formed, c.joined != nullptr) << c.folder << " + " << c.name;
    EXPECT_STREQ(joined, c.joined ? c.joined : "untouched") << c.folder << " + " << c.name;
  }
}

TEST(SkinFile, OverlongJoinedNamesAreCutTo255Characters) {
  struct Case {
    std::string directory;
    std::string name;
    std::string joined;
  } cases[] = {
      {std::string(200, 'd'), std::string(100, 'n'), std::string(200, 'd') + std::string(55, 'n')},
      {std::string(300, 'd'), "n.bmp", std::string(255, 'd')},
      {std::string(255, 'd'), "n.bmp", std::string(255, 'd')},
      {".\\", "x\\" + std::string(300, 'n'), "x\\" + std::string(253, 'n')},
  };
  for (const Case& c : cases) {
    char joined[SKIN_NAME_SIZE];
    std::memset(joined, 'Z', sizeof joined);
    JoinSkinFileName(c.directory.c_str(), c.name, joined, sizeof joined);
    EXPECT_EQ(std::string(joined), c.joined);
  }
}

TEST(SkinFile, TextColourFollowsTheRgbSyntax) {
  constexpr uint32_t WHITE = 0xFFFFFF;
  struct Case {
    const char* field;
    uint32_t color;
  } cases[] = {
      {"RGB(255 128 0)", 0x80FF},
      {"rgb(0 0 255)", 0xFF0000},
      {"Rgb(1 2 3)", 0x030201},
      {"RGB(0 0 0)", 0x000000},
      {"RGB(0 255 0", 0x00FF00},
      {"RGB(1 2 3) and more", 0x030201},
      {"RGB(00255 0 0)", 0x0000FF},
      // Red takes five characters; the sixth is passed over as if it were the blank.
      {"RGB(000255 0 0)", 25},
      {"RGB(256 0 0)", WHITE},
      {"RGB(-1 0 0)", WHITE},
      {"RGB(300 0 0)", WHITE},
      {"RGB(0 0 256)", WHITE},
      {"RGB(123456 0 0)", WHITE},
      {"RGB(255 0)", WHITE},
      {"RGB(255 0", WHITE},
      {"RGB(255", WHITE},
      {"RGB(255 ", WHITE},
      {"RGB(", WHITE},
      {"RGB", WHITE},
      {"", WHITE},
      {" RGB(1 2 3)", WHITE},
      {"#FF0000", WHITE},
  };
  for (const Case& c : cases) EXPECT_EQ(ParseTextColor(c.field), c.color) << c.field;
}

TEST(SkinFile, CopyCutRespectsLimitAndBuffer) {
  char tooltip[SKIN_NAME_SIZE];
  std::string longText(300, 't');
  CopyCut(longText, TOOLTIP_LIMIT, tooltip, sizeof tooltip);
  EXPECT_EQ(std::strlen(tooltip), 254u);
  char small[4];
  CopyCut("abcdef", 100, small, sizeof small);
  EXPECT_STREQ(small, "abc");
}

TEST(SkinFile, RectFillsRegionsZeroToTwoFromTwelveNumbers) {
  struct Case {
    const char* value;
    SkinRect expected[SKIN_REGION_COUNT];
  } cases[] = {
      {"0,0,50,50", {{0, 0, 50, 50}, {}, {}, {}}},
      {"1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16", {{1, 2, 3, 4}, {5, 6, 7, 8}, {9, 10, 11, 12}, {}}},
      {"", {{}, {}, {}, {}}},
      {"a,-5,,9", {{0, -5, 0, 9}, {}, {}, {}}},
  };
  for (const Case& c : cases) {
    ProfileText ini("[MAIN]\nRECT=" + std::string(c.value) + "\n");
    SkinRect regions[SKIN_REGION_COUNT] = {{}, {}, {}, {-1, -1, -1, -1}};
    ReadSkinRegions(ini.Reader(), "MAIN", regions);
    for (int i = 0; i < REGIONS_IN_FILE; ++i) {
      EXPECT_EQ(regions[i].left, c.expected[i].left) << c.value << " region " << i;
      EXPECT_EQ(regions[i].top, c.expected[i].top) << c.value << " region " << i;
      EXPECT_EQ(regions[i].right, c.expected[i].right) << c.value << " region " << i;
      EXPECT_EQ(regions[i].bottom, c.expected[i].bottom) << c.value << " region " << i;
    }
    EXPECT_EQ(regions[3].left, -1) << "region 3 is never read from the file";
  }
}

TEST(SkinFile, RectValueIsCutAt254Characters) {
  // The twelfth number ends at character 255, one past what the buffer holds.
  std::string value = "0,0,0,0,0,0,0,0,0,0,0," + std::string(227, ' ') + "123456";
  ASSERT_EQ(value.size(), 255u);
  ProfileText ini("[MAIN]\nRECT=" + value);
  SkinRect regions[SKIN_REGION_COUNT];
  ReadSkinRegions(ini.Reader(), "MAIN", regions);
  EXPECT_EQ(regions[2].bottom, 12345);
}

TEST(SkinFile, BackgroundNameIsCutAt254ThenJoined) {
  ProfileText ini("[MAIN]\nBackground1=" + std::string(254, 'a') + "XYZ");
  char joined[1024];
  TakeLoggedEvents();
  ReadBackgroundFileName(ini.Reader(), "MAIN", "Background1", "d\\", joined, sizeof joined);
  EXPECT_EQ(std::string(joined), "d\\" + std::string(254, 'a'));
  EXPECT_TRUE(TakeLoggedEvents().empty());
  ReadBackgroundFileName(ini.Reader(), "MAIN", "Background2", "d\\", joined, sizeof joined);
  EXPECT_EQ(TakeLoggedEvents(),
            std::vector<std::string>{"Skin key [MAIN] Background2 is missing or empty"});
}

TEST(SkinFile, SixFieldPushButtonHasAnEmptyTooltip) {
  ProfileText ini("[MAIN]\nButton.1=PUSHBUTTON,10,20,30,15,b1.bmp\n");
  ControlEntry entry;
  ASSERT_TRUE(ReadControlEntry(ini.Reader(), "MAIN", 1, &entry));
  EXPECT_EQ(entry.kind, ControlKind::PUSHBUTTON);
  EXPECT_EQ(entry.x, 10);
  EXPECT_EQ(entry.y, 20);
  EXPECT_EQ(entry.width, 30);
  EXPECT_EQ(entry.height, 15);
  EXPECT_STREQ(entry.fileName, "b1.bmp");
  EXPECT_STREQ(entry.extra, "");
}

TEST(SkinFile, TextControlKeepsItsColourFieldAndIgnoresFurtherFields) {
  ProfileText ini("[main]\nbutton.3=TEXT,5,5,6,12,CPU,RGB(255 0 0),ignored\n");
  ControlEntry entry;
  ASSERT_TRUE(ReadControlEntry(ini.Reader(), "MAIN", 3, &entry));
  EXPECT_EQ(entry.kind, ControlKind::TEXT);
  EXPECT_STREQ(entry.fileName, "CPU");
  EXPECT_STREQ(entry.extra, "RGB(255 0 0)");
}

TEST(SkinFile, ControlValueIsCutAt255Characters) {
  ProfileText ini("[MAIN]\nButton.1=IMAGE,1,2,3,4,f.bmp," + std::string(300, 't'));
  ControlEntry entry;
  ASSERT_TRUE(ReadControlEntry(ini.Reader(), "MAIN", 1, &entry));
  EXPECT_EQ(std::strlen(entry.extra), 255u - std::strlen("IMAGE,1,2,3,4,f.bmp,"));
}

TEST(SkinFile, ControlKeysAreScannedInOrderPastGapsUpTo256) {
  ProfileText ini(
      "[MAIN]\n"
      "Button.1=PUSHBUTTON,1,0,0,0,a.bmp\n"
      "Button.2=PUSHBUTTON,2,0,0,0,b.bmp\n"
      "Button.3=\n"
      "Button.5=PUSHBUTTON,5,0,0,0,c.bmp\n"
      "Button.256=IMAGE,256,0,0,0,d.bmp\n"
      "Button.257=IMAGE,257,0,0,0,e.bmp\n"
      "[OTHER]\n"
      "Button.4=PUSHBUTTON,4,0,0,0,x.bmp\n");
  std::vector<std::string> keysRead;
  SkinProfileReader reader = [&](const char* section, const char* key) {
    keysRead.push_back(key);
    return ini.Read(section, key);
  };
  std::vector<ControlEntry> entries = ReadControlEntries(reader, "MAIN");
  ASSERT_EQ(entries.size(), 4u);
  EXPECT_EQ(entries[0].x, 1);
  EXPECT_EQ(entries[1].x, 2);
  EXPECT_EQ(entries[2].x, 5);
  EXPECT_EQ(entries[3].x, 256);
  ASSERT_EQ(keysRead.size(), 256u);
  EXPECT_EQ(keysRead.front(), "Button.1");
  EXPECT_EQ(keysRead.back(), "Button.256");
}

TEST(SkinFile, AbsurdControlNumbersArePinnedToThe32BitRange) {
  ProfileText ini("[MAIN]\nButton.1=CHECKBOX,99999999999,-99999999999,2147483647,-1,f\n");
  ControlEntry entry;
  ASSERT_TRUE(ReadControlEntry(ini.Reader(), "MAIN", 1, &entry));
  EXPECT_EQ(entry.x, INT32_MAX);
  EXPECT_EQ(entry.y, INT32_MIN);
  EXPECT_EQ(entry.width, INT32_MAX);
  EXPECT_EQ(entry.height, -1);
}

}  // namespace
