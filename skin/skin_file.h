#pragma once
// Reading a skin's profile file (skin.ini): the file's path, the fields of a value, integers,
// kind words, file names, text colours, the regions and the control keys. Plain logic: the
// profile read itself comes in through a SkinProfileReader (GetPrivateProfileStringA on Windows).
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "skin/control_record.h"

// Names, texts and paths: 255 characters and the terminator.
constexpr size_t SKIN_NAME_SIZE = 256;
// Background1, Background2 and RECT are read into 255 bytes, control keys into 256.
constexpr size_t BACKGROUND_VALUE_LIMIT = 254;
constexpr size_t CONTROL_VALUE_LIMIT = 255;
constexpr size_t TOOLTIP_LIMIT = 254;
constexpr int32_t CONTROL_FIELD_COUNT = 7;
constexpr int32_t CONTROL_KEY_COUNT = 256;  // Button.1 to Button.256
constexpr int32_t REGIONS_IN_FILE = 3;
constexpr int32_t SKIN_REGION_COUNT = 4;

// Value of `key` in `section`, or "" when the file, the section or the key is missing.
using SkinProfileReader = std::function<std::string(const char* section, const char* key)>;

// A control key's value cut into its fields; `fileName` is the sixth field as written.
struct ControlEntry {
  ControlKind kind = ControlKind::IMAGE;
  int32_t x = 0;
  int32_t y = 0;
  int32_t width = 0;
  int32_t height = 0;
  char fileName[SKIN_NAME_SIZE] = {};
  char extra[SKIN_NAME_SIZE] = {};
};

// The key naming a folder, relative to the skin's, of the skin's bitmaps drawn at twice the size
// under the same names.
constexpr const char* TWICE_SIZE_KEY = "Bitmaps2x";

// "%sskin.ini" when `directory` ends in a backslash, else "%s\skin.ini"; cut to fit `size`.
void FormSkinFilePath(const char* directory, char* path, size_t size);

// Fills `count` fields cut at commas; fields past the end of `value` are empty. Not trimmed.
void CutSkinFields(std::string_view value, std::string_view* fields, int32_t count);

// Reads like atoi (leading white space, a sign, decimal digits up to the first other character;
// 0 when there are none) but never overflows: values beyond the 32-bit range stop at its ends.
int32_t ReadSkinInteger(std::string_view field);

// PUSHBUTTON, RADIOBOX, CHECKBOX and TEXT in any letter case; every other word makes an IMAGE.
ControlKind KindFromWord(std::string_view word);

// A name without a backslash is joined to the directory with nothing in between (the directory
// carries its own trailing backslash); a name with one is taken as it stands, relative to the
// working directory or absolute. Either is cut to fit `size`.
void JoinSkinFileName(const char* directory, std::string_view name, char* joined, size_t size);

// The twice-size counterpart of the bitmap `name`: the directory, `folder` (the value of
// TWICE_SIZE_KEY), a backslash and the name. False, with nothing written, when there is no folder,
// when the name is empty or has a backslash of its own (it lies outside the skin), or when the
// result does not fit `size`.
bool FormTwiceSizeFileName(const char* directory, std::string_view folder, std::string_view name,
                           char* joined, size_t size);

// "RGB(r g b)" in any letter case gives r + g * 256 + b * 65536 when all three lie in 0..255;
// anything else, a field cut short before its blue part included, leaves white.
uint32_t ParseTextColor(std::string_view field);

// Copies at most `limit` characters of `text`, and never more than `size` - 1.
void CopyCut(std::string_view text, size_t limit, char* out, size_t size);

// A key's value as its fixed buffer holds it: cut to `limit` characters.
std::string ReadSkinValue(const SkinProfileReader& reader, const char* section, const char* key,
                          size_t limit);

// "Background1" or "Background2" through the file-name rule; a missing or empty key is logged.
// Returns the name as the skin gives it, for its twice-size counterpart.
std::string ReadBackgroundFileName(const SkinProfileReader& reader, const char* section,
                                   const char* key, const char* directory, char* joined,
                                   size_t size);

// Regions 0 to 2 from the 12 integers of "RECT"; missing numbers read as 0.
void ReadSkinRegions(const SkinProfileReader& reader, const char* section,
                     SkinRect (&regions)[SKIN_REGION_COUNT]);

// Key "Button.<number>"; false when it is missing or empty, which adds no control.
bool ReadControlEntry(const SkinProfileReader& reader, const char* section, int32_t number,
                      ControlEntry* entry);

// Button.1 to Button.256 in rising order; a missing or empty key is passed over without ending
// the scan, so the controls of keys 1, 2 and 5 come out as the first three.
std::vector<ControlEntry> ReadControlEntries(const SkinProfileReader& reader, const char* section);
