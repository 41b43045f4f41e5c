#include "skin/readout_layout.h"

#include <string>
#include <string_view>

#include "log/event_log.h"

namespace {

struct PartKey {
  const char* key;
  int32_t frames;
};

// In ReadoutPartId order.
constexpr PartKey PART_KEYS[READOUT_PART_COUNT] = {{"Face", 1},      {"Digits", 12}, {"Unit", 4},
                                                   {"Bar", 2},       {"Link", 2},    {"FanMode", 3},
                                                   {"Backlight", 2}, {"Warning", 2}};

// The fields of a part's key: the file name, the four of its place and size, then the extras.
constexpr int32_t PLACE_FIELDS = 5;
constexpr int32_t MAX_FIELDS = 7;

std::string_view Trimmed(std::string_view field) {
  while (!field.empty() && (field.front() == ' ' || field.front() == '\t')) field.remove_prefix(1);
  while (!field.empty() && (field.back() == ' ' || field.back() == '\t')) field.remove_suffix(1);
  return field;
}

// A whole field that is a decimal number in [low, high]; unlike the control keys, a field with
// anything else in it (or none at all) is refused, so a typo leaves the part out instead of
// placing it at 0.
bool ReadNumber(std::string_view field, int32_t low, int32_t high, int32_t* number) {
  field = Trimmed(field);
  bool negative = !field.empty() && field.front() == '-';
  if (negative) field.remove_prefix(1);
  if (field.empty() || field.size() > 9) return false;  // nine digits cannot overflow
  int32_t value = 0;
  for (char c : field) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + (c - '0');
  }
  if (negative) value = -value;
  if (value < low || value > high) return false;
  *number = value;
  return true;
}

bool ReadPlace(const std::string_view (&fields)[MAX_FIELDS], ReadoutPart* part) {
  std::string_view name = Trimmed(fields[0]);
  if (name.empty()) return false;
  CopyCut(name, CONTROL_VALUE_LIMIT, part->fileName, sizeof part->fileName);
  return ReadNumber(fields[1], -READOUT_PLACE_LIMIT, READOUT_PLACE_LIMIT, &part->x) &&
         ReadNumber(fields[2], -READOUT_PLACE_LIMIT, READOUT_PLACE_LIMIT, &part->y) &&
         ReadNumber(fields[3], 1, READOUT_SIZE_LIMIT, &part->width) &&
         ReadNumber(fields[4], 1, READOUT_SIZE_LIMIT, &part->height);
}

bool ReadExtras(ReadoutPartId id, const std::string_view (&fields)[MAX_FIELDS], ReadoutPart* part) {
  if (id == READOUT_DIGITS) {
    if (!ReadNumber(fields[PLACE_FIELDS], 1, READOUT_MAX_DIGITS, &part->count)) return false;
    if (part->count == 1 && Trimmed(fields[PLACE_FIELDS + 1]).empty()) return true;
    return ReadNumber(fields[PLACE_FIELDS + 1], 1, READOUT_SIZE_LIMIT, &part->step);
  }
  if (id == READOUT_BAR && !Trimmed(fields[PLACE_FIELDS]).empty()) {
    return ReadNumber(fields[PLACE_FIELDS], 0, part->width, &part->segments);
  }
  return true;
}

ReadoutPart ReadPart(const SkinProfileReader& reader, const char* section, ReadoutPartId id) {
  std::string value = ReadSkinValue(reader, section, PART_KEYS[id].key, CONTROL_VALUE_LIMIT);
  std::string_view fields[MAX_FIELDS];
  CutSkinFields(value, fields, MAX_FIELDS);
  ReadoutPart part;
  if (!ReadPlace(fields, &part) || !ReadExtras(id, fields, &part)) {
    if (!value.empty()) {
      LogEvent("Skin key [%s] %s is malformed, its part left out: %s", section, PART_KEYS[id].key,
               value.c_str());
    }
    return ReadoutPart{};
  }
  part.present = true;
  return part;
}

}  // namespace

const char* ReadoutKeyOf(ReadoutPartId part) {
  return PART_KEYS[part].key;
}

int32_t ReadoutFramesOf(ReadoutPartId part) {
  return PART_KEYS[part].frames;
}

ReadoutLayout ReadReadoutLayout(const SkinProfileReader& reader, const char* section) {
  ReadoutLayout layout;
  for (int32_t id = 0; id < READOUT_PART_COUNT; ++id) {
    layout.parts[id] = ReadPart(reader, section, static_cast<ReadoutPartId>(id));
  }
  return layout;
}

bool StripHoldsFrames(ReadoutPartId id, const ReadoutPart& part, int32_t stripWidth,
                      int32_t stripHeight) {
  return stripWidth >= part.width * ReadoutFramesOf(id) && stripHeight >= part.height;
}

SkinRect ReadoutPartRect(const ReadoutPart& part) {
  if (!part.present) return SkinRect{};
  int32_t span = (part.count - 1) * part.step + part.width;
  return SkinRect{part.x, part.y, part.x + span, part.y + part.height};
}
