#include "skin/readout_layout.h"

#include <gtest/gtest.h>

#include <string>

#include "support/logged_events.h"
#include "support/profile_text.h"

namespace {

// "x y width height count step segments", or "" for a part left out.
std::string ReadPart(ReadoutPartId id, const std::string& value) {
  ProfileText ini(std::string("[") + READOUT_SECTION + "]\n" + ReadoutKeyOf(id) + "=" + value);
  ReadoutPart p = ReadReadoutLayout(ini.Reader(), READOUT_SECTION).parts[id];
  if (!p.present) return "";
  char text[96];
  std::snprintf(text, sizeof text, "%d %d %d %d %d %d %d", p.x, p.y, p.width, p.height, p.count,
                p.step, p.segments);
  return text;
}

TEST(ReadoutLayout, EachKeyGivesItsPartOrLeavesItOut) {
  struct Case {
    ReadoutPartId id;
    const char* value;
    const char* part;
  } cases[] = {
      {READOUT_FACE, "face.bmp,16,40,238,96", "16 40 238 96 1 0 0"},
      {READOUT_UNIT, " unit.bmp , -5 ,\t7,17,29 ", "-5 7 17 29 1 0 0"},
      {READOUT_DIGITS, "d.bmp,28,60,20,34,3,27", "28 60 20 34 3 27 0"},
      {READOUT_BAR, "b.bmp,26,114,224,7,28", "26 114 224 7 1 0 28"},
      {READOUT_FACE, ",16,40,238,96", ""},                                 // no file
      {READOUT_LINK, "l.bmp,1x,2,7,7", ""},                                // not a number
      {READOUT_LINK, "l.bmp,99999999999,0,7,7", ""},                       // beyond any window
      {READOUT_LINK, "l.bmp,-16384,16384,7,7", "-16384 16384 7 7 1 0 0"},  // at the edges
      {READOUT_LINK, "l.bmp,16385,0,7,7", ""},
      {READOUT_DIGITS, "d.bmp,28,60,20,34,8,27", "28 60 20 34 8 27 0"},  // every digit it has
      {READOUT_DIGITS, "d.bmp,28,60,20,34,9,27", ""},  // more digits than a readout has
      {READOUT_FACE, "f.bmp,0,0,4096,4096", "0 0 4096 4096 1 0 0"},  // the largest size
      {READOUT_FACE, "f.bmp,0,0,4097,96", ""},
      {READOUT_FACE, "f.bmp,0,0,96,4097", ""},
      {READOUT_DIGITS, "d.bmp,0,0,20,34,2,4096", "0 0 20 34 2 4096 0"},
      {READOUT_DIGITS, "d.bmp,0,0,20,34,2,4097", ""},
      {READOUT_DIGITS, "d.bmp,28,60,20,34,3", ""},                      // no step between them
      {READOUT_BAR, "b.bmp,26,114,224,7,224", "26 114 224 7 1 0 224"},  // one a pixel
      {READOUT_BAR, "b.bmp,26,114,224,7,225", ""},                      // more segments than pixels
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ReadPart(c.id, c.value), c.part) << ReadoutKeyOf(c.id) << "=" << c.value;
  }
}

TEST(ReadoutLayout, ABrokenKeyLeavesTheOtherPartsAndIsNamedInTheLog) {
  TakeLoggedEvents();
  ProfileText ini(
      "[Readout]\nFace=face.bmp,16,40,238,96\nUnit=unit.bmp,oops\n"
      "Link=link.bmp,291,15,7,7\n");
  ReadoutLayout layout = ReadReadoutLayout(ini.Reader(), READOUT_SECTION);
  bool expected[READOUT_PART_COUNT] = {true, false, false, false, true, false, false};
  for (int32_t i = 0; i < READOUT_PART_COUNT; ++i) EXPECT_EQ(layout.parts[i].present, expected[i]);
  // The missing keys are no fault.
  EXPECT_EQ(TakeLoggedEvents(),
            std::vector<std::string>{"Skin key [Readout] Unit is malformed, its "
                                     "part left out: unit.bmp,oops"});
}

}  // namespace
