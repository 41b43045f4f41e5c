// The skin file reader over any skin.ini text, read as the panel reads it: both backgrounds, the
// regions and every control key, then each control's rectangle as the panel places it; the
// readout keys, and what the readout copies from its strips for a few states.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "fuzz/fuzz_check.h"
#include "skin/control_record.h"
#include "skin/readout_plan.h"
#include "skin/skin_file.h"
#include "support/control_record_builder.h"
#include "support/profile_text.h"

namespace {

constexpr const char* SECTION = "MAIN";

bool Terminated(const char* text, size_t size) {
  return std::memchr(text, '\0', size) != nullptr;
}

// A name without a backslash starts with the directory, cut to the buffer with it.
void CheckJoined(const std::string& directory, const std::string& name, const char* joined) {
  FUZZ_CHECK(Terminated(joined, SKIN_NAME_SIZE));
  if (name.find('\\') != std::string::npos) return;
  size_t prefix = directory.size() < SKIN_NAME_SIZE - 1 ? directory.size() : SKIN_NAME_SIZE - 1;
  FUZZ_CHECK(std::strncmp(joined, directory.c_str(), prefix) == 0);
}

void CheckBackgrounds(const SkinProfileReader& reader, const std::string& directory) {
  for (const char* key : {"Background1", "Background2"}) {
    char joined[SKIN_NAME_SIZE];
    ReadBackgroundFileName(reader, SECTION, key, directory.c_str(), joined, sizeof joined);
    std::string name = ReadSkinValue(reader, SECTION, key, BACKGROUND_VALUE_LIMIT);
    FUZZ_CHECK(name.size() <= BACKGROUND_VALUE_LIMIT);
    CheckJoined(directory, name, joined);
  }
}

void CheckRegions(const SkinProfileReader& reader) {
  SkinRect regions[SKIN_REGION_COUNT];
  regions[REGIONS_IN_FILE] = SkinRect{1, 2, 3, 4};
  ReadSkinRegions(reader, SECTION, regions);
  const SkinRect& untouched = regions[REGIONS_IN_FILE];
  FUZZ_CHECK(untouched.left == 1 && untouched.top == 2 && untouched.right == 3 &&
             untouched.bottom == 4);
}

// The rectangle never turns inside out for a size that is not negative, and it contains its own
// top-left corner exactly when it is not empty.
void CheckRect(const ControlRecord& control, const char* text) {
  SkinRect rect = ComputeControlRect(control, strnlen(text, SKIN_NAME_SIZE));
  FUZZ_CHECK(rect.left == control.x && rect.top == control.y);
  bool textControl = control.kind == ControlKind::TEXT;
  if ((textControl ? control.charWidth : control.width) >= 0) FUZZ_CHECK(rect.right >= rect.left);
  if (control.height >= 0) FUZZ_CHECK(rect.bottom >= rect.top);
  bool empty = rect.right <= rect.left || rect.bottom <= rect.top;
  FUZZ_CHECK(RectContains(rect, rect.left, rect.top) == !empty);
}

void CheckControl(const ControlEntry& entry, const std::string& directory) {
  FUZZ_CHECK(Terminated(entry.fileName, sizeof entry.fileName));
  FUZZ_CHECK(Terminated(entry.extra, sizeof entry.extra));
  FUZZ_CHECK(entry.kind >= ControlKind::PUSHBUTTON && entry.kind <= ControlKind::TEXT);
  FUZZ_CHECK(ParseTextColor(entry.extra) <= TEXT_COLOR_WHITE);

  // The panel joins the file name to the folder; a text control shows the joined name.
  char joined[SKIN_NAME_SIZE];
  JoinSkinFileName(directory.c_str(), entry.fileName, joined, sizeof joined);
  CheckJoined(directory, entry.fileName, joined);
  CheckRect(SetUpControl(entry.kind, entry.x, entry.y, entry.width, entry.height), joined);
}

// Every copy the readout plans for a few states lands on its part and reads inside a strip of
// exactly the part's frames.
void CheckReadout(const SkinProfileReader& reader) {
  ReadoutLayout layout = ReadReadoutLayout(reader, READOUT_SECTION);
  ReadoutState states[2];
  std::strcpy(states[1].figure, "12345678");
  states[1].unit = ReadoutUnit::FAN_SPEED;
  states[1].barPercent = 250;
  states[1].fanMode = ReadoutFanMode::AUTO;
  states[1].warning = true;
  for (const ReadoutState& state : states) {
    ReadoutPlan plan = PlanReadout(layout, state);
    for (int32_t i = 0; i < plan.count; ++i) {
      const ReadoutBlit& blit = plan.blits[i];
      const ReadoutPart& part = layout.parts[blit.part];
      SkinRect on = ReadoutPartRect(part);
      const SkinRect& target = blit.target;
      FUZZ_CHECK(part.present && target.left >= on.left && target.top == on.top &&
                 target.right <= on.right && target.bottom == on.bottom);
      FUZZ_CHECK(blit.sourceX >= 0 && target.right >= target.left &&
                 blit.sourceX + target.right - target.left <=
                     part.width * ReadoutFramesOf(blit.part));
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ProfileText profile(std::string(reinterpret_cast<const char*>(data), size));
  SkinProfileReader reader = profile.Reader();
  // A usual skin folder, and one that leaves the file names almost no room.
  for (const std::string& directory : {std::string(".\\skin\\"), std::string(250, 'd') + "\\"}) {
    CheckBackgrounds(reader, directory);
  }
  CheckRegions(reader);
  std::vector<ControlEntry> entries = ReadControlEntries(reader, SECTION);
  FUZZ_CHECK(entries.size() <= static_cast<size_t>(CONTROL_KEY_COUNT));
  for (const ControlEntry& entry : entries) CheckControl(entry, ".\\skin\\");
  CheckReadout(reader);
  return 0;
}
