#include "skin/skin_file.h"

#include <cstdio>
#include <cstring>
#include <limits>

#include "log/event_log.h"

namespace {

bool IsAtoiSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

char Upper(char c) {
  return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (Upper(a[i]) != Upper(b[i])) return false;
  }
  return true;
}

// One colour part: at most `maxLength` characters up to `stop` (or the end of the field).
std::string_view TakeColorPart(std::string_view rest, char stop, size_t maxLength) {
  size_t length = 0;
  while (length < rest.size() && length < maxLength && rest[length] != stop) ++length;
  return rest.substr(0, length);
}

constexpr size_t COLOR_PART_LIMIT = 5;

}  // namespace

void FormSkinFilePath(const char* directory, char* path, size_t size) {
  size_t length = std::strlen(directory);
  bool endsInBackslash = length > 0 && directory[length - 1] == '\\';
  std::snprintf(path, size, endsInBackslash ? "%sskin.ini" : "%s\\skin.ini", directory);
}

void CutSkinFields(std::string_view value, std::string_view* fields, int32_t count) {
  size_t position = 0;
  for (int32_t i = 0; i < count; ++i) {
    if (position >= value.size()) {
      fields[i] = std::string_view();
      continue;
    }
    size_t comma = value.find(',', position);
    if (comma == std::string_view::npos) comma = value.size();
    fields[i] = value.substr(position, comma - position);
    position = comma + 1;
  }
}

int32_t ReadSkinInteger(std::string_view field) {
  size_t i = 0;
  while (i < field.size() && IsAtoiSpace(field[i])) ++i;
  bool negative = false;
  if (i < field.size() && (field[i] == '+' || field[i] == '-')) {
    negative = field[i] == '-';
    ++i;
  }
  // Past this magnitude the result is pinned anyway, so accumulating stops growing.
  constexpr int64_t CEILING = int64_t{std::numeric_limits<int32_t>::max()} + 1;
  int64_t magnitude = 0;
  for (; i < field.size() && IsDigit(field[i]); ++i) {
    if (magnitude < CEILING) magnitude = magnitude * 10 + (field[i] - '0');
  }
  if (magnitude > CEILING) magnitude = CEILING;
  int64_t value = negative ? -magnitude : magnitude;
  if (value > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
  return static_cast<int32_t>(value);
}

ControlKind KindFromWord(std::string_view word) {
  if (EqualsIgnoringCase(word, "PUSHBUTTON")) return ControlKind::PUSHBUTTON;
  if (EqualsIgnoringCase(word, "RADIOBOX")) return ControlKind::RADIOBOX;
  if (EqualsIgnoringCase(word, "CHECKBOX")) return ControlKind::CHECKBOX;
  if (EqualsIgnoringCase(word, "TEXT")) return ControlKind::TEXT;
  return ControlKind::IMAGE;
}

void CopyCut(std::string_view text, size_t limit, char* out, size_t size) {
  if (size == 0) return;
  size_t length = text.size();
  if (length > limit) length = limit;
  if (length > size - 1) length = size - 1;
  if (length > 0) std::memcpy(out, text.data(), length);
  out[length] = '\0';
}

void JoinSkinFileName(const char* directory, std::string_view name, char* joined, size_t size) {
  if (size == 0) return;
  if (name.find('\\') != std::string_view::npos) {
    CopyCut(name, size - 1, joined, size);
    return;
  }
  size_t directoryLength = std::strlen(directory);
  CopyCut(directory, size - 1, joined, size);
  if (directoryLength >= size - 1) return;
  CopyCut(name, size - 1 - directoryLength, joined + directoryLength, size - directoryLength);
}

bool FormTwiceSizeFileName(const char* directory, std::string_view folder, std::string_view name,
                           char* joined, size_t size) {
  while (!folder.empty() && folder.back() == '\\') folder.remove_suffix(1);
  if (folder.empty() || name.empty() || name.find('\\') != std::string_view::npos) return false;
  std::string path = std::string(directory) + std::string(folder) + '\\' + std::string(name);
  if (path.size() >= size) return false;
  CopyCut(path, size - 1, joined, size);
  return true;
}

uint32_t ParseTextColor(std::string_view field) {
  if (field.size() < 4 || !EqualsIgnoringCase(field.substr(0, 4), "RGB(")) return TEXT_COLOR_WHITE;
  std::string_view rest = field.substr(4);
  int32_t parts[3] = {};
  for (int32_t i = 0; i < 2; ++i) {
    std::string_view part = TakeColorPart(rest, ' ', COLOR_PART_LIMIT);
    // Red and green must be followed by the character that is passed over; a field that ends
    // there has no blue part to read.
    if (part.size() >= rest.size()) return TEXT_COLOR_WHITE;
    parts[i] = ReadSkinInteger(part);
    rest = rest.substr(part.size() + 1);
  }
  parts[2] = ReadSkinInteger(TakeColorPart(rest, ')', COLOR_PART_LIMIT));
  for (int32_t part : parts) {
    if (part < 0 || part > 255) return TEXT_COLOR_WHITE;
  }
  return static_cast<uint32_t>(parts[0]) | static_cast<uint32_t>(parts[1]) << 8 |
         static_cast<uint32_t>(parts[2]) << 16;
}

std::string ReadSkinValue(const SkinProfileReader& reader, const char* section, const char* key,
                          size_t limit) {
  std::string value = reader(section, key);
  if (value.size() > limit) value.resize(limit);
  return value;
}

std::string ReadBackgroundFileName(const SkinProfileReader& reader, const char* section,
                                   const char* key, const char* directory, char* joined,
                                   size_t size) {
  std::string name = ReadSkinValue(reader, section, key, BACKGROUND_VALUE_LIMIT);
  if (name.empty()) LogEvent("Skin key [%s] %s is missing or empty", section, key);
  JoinSkinFileName(directory, name, joined, size);
  return name;
}

void ReadSkinRegions(const SkinProfileReader& reader, const char* section,
                     SkinRect (&regions)[SKIN_REGION_COUNT]) {
  std::string value = ReadSkinValue(reader, section, "RECT", BACKGROUND_VALUE_LIMIT);
  std::string_view fields[REGIONS_IN_FILE * 4];
  CutSkinFields(value, fields, REGIONS_IN_FILE * 4);
  for (int32_t i = 0; i < REGIONS_IN_FILE; ++i) {
    regions[i].left = ReadSkinInteger(fields[i * 4]);
    regions[i].top = ReadSkinInteger(fields[i * 4 + 1]);
    regions[i].right = ReadSkinInteger(fields[i * 4 + 2]);
    regions[i].bottom = ReadSkinInteger(fields[i * 4 + 3]);
  }
}

bool ReadControlEntry(const SkinProfileReader& reader, const char* section, int32_t number,
                      ControlEntry* entry) {
  char key[32];
  std::snprintf(key, sizeof key, "Button.%d", static_cast<int>(number));
  std::string value = ReadSkinValue(reader, section, key, CONTROL_VALUE_LIMIT);
  if (value.empty()) return false;
  std::string_view fields[CONTROL_FIELD_COUNT];
  CutSkinFields(value, fields, CONTROL_FIELD_COUNT);
  entry->kind = KindFromWord(fields[0]);
  entry->x = ReadSkinInteger(fields[1]);
  entry->y = ReadSkinInteger(fields[2]);
  entry->width = ReadSkinInteger(fields[3]);
  entry->height = ReadSkinInteger(fields[4]);
  CopyCut(fields[5], CONTROL_VALUE_LIMIT, entry->fileName, sizeof entry->fileName);
  CopyCut(fields[6], CONTROL_VALUE_LIMIT, entry->extra, sizeof entry->extra);
  return true;
}

std::vector<ControlEntry> ReadControlEntries(const SkinProfileReader& reader, const char* section) {
  std::vector<ControlEntry> entries;
  for (int32_t number = 1; number <= CONTROL_KEY_COUNT; ++number) {
    ControlEntry entry;
    if (ReadControlEntry(reader, section, number, &entry)) entries.push_back(entry);
  }
  return entries;
}
