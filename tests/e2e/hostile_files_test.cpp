// End to end: the real torvex.exe started on settings values and skin files that are damaged,
// of the wrong kind or absurd. It must start, run a refresh pass and quit (exit code 1); the
// meter gets what the readable part of the settings says, and the defaults for the rest.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "app/commands.h"
#include "meter/meter_frame.h"
#include "settings/settings_records.h"
#include "settings/stored_values.h"
#include "support/record_bytes.h"
#include "windows/support/torvex_log.h"
#include "windows/support/torvex_test.h"

namespace {

constexpr int TEMPERATURE = 41;
constexpr POINT CREATED_AT = {133, 135};  // where the program creates its window
constexpr size_t LARGEST_VALUE = 4096;

// What one refresh pass sent.
struct PassFrames {
  int64_t value, low, high, fanMode, backlight, fan;
};

PassFrames FirstPass(const MeterLog& log, size_t from) {
  MeterLogRecords frames;
  log.WaitFor(
      [&](const MeterLogRecords& records) {
        frames.clear();
        for (size_t i = from; i < records.size(); ++i)
          if (records[i].IsFrame()) frames.push_back(records[i]);
        return frames.size() >= 4;
      },
      8000);
  if (frames.size() < 4) return {-1, -1, -1, -1, -1, -1};
  return {*frames[0].value,   *frames[1].low,       *frames[1].high,
          *frames[1].fanMode, *frames[2].backlight, *frames[3].fan};
}

bool operator==(const PassFrames& a, const PassFrames& b) {
  return std::memcmp(&a, &b, sizeof a) == 0;
}

std::ostream& operator<<(std::ostream& out, const PassFrames& p) {
  return out << "value " << p.value << ", thresholds " << p.low << "-" << p.high << " mode "
             << p.fanMode << ", backlight " << p.backlight << ", fan " << p.fan;
}

// A value of LARGEST_VALUE bytes that starts with `record` and goes on with bytes of no meaning.
template <typename Record>
std::vector<uint8_t> ValueStartingWith(const Record& record) {
  std::vector<uint8_t> bytes(LARGEST_VALUE);
  for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<uint8_t>(0xA5 ^ (i * 13));
  std::memcpy(bytes.data(), &record, sizeof record);
  return bytes;
}

// The record loaded from the first `length` bytes of `value` over `defaults`.
std::vector<uint8_t> Merged(std::vector<uint8_t> defaults, const std::vector<uint8_t>& value,
                            size_t length) {
  std::memcpy(defaults.data(), value.data(), std::min(length, defaults.size()));
  return defaults;
}

using TorvexHostileFiles = TorvexTest;

// Each value name gets a value of one type and length: binary ones are read as far as they go (a
// shorter one over the defaults, a longer one for its first bytes), those of another type count
// as missing. The meter then gets what the records say, and quitting saves whole binary records.
// The event log names each damaged value with its type and size.
TEST_F(TorvexHostileFiles, SettingsValuesOfAnyTypeAndLength) {
  scenario.bridges[0].temperature = TEMPERATURE;
  DisplayItemRecord fanSpeedShown = DefaultDisplayItemRecord();
  fanSpeedShown.itemType = ITEM_FAN_SPEED;
  SystemControlRecord quietFan = DefaultSystemControlRecord();
  quietFan.backlightMode = BACKLIGHT_OFF;
  quietFan.lowThreshold = 20;
  quietFan.highThreshold = 60;
  quietFan.fanRatio = 65;
  const RecordRect placed = {200, 150, 300, 250};
  const std::vector<uint8_t> displayValue = ValueStartingWith(fanSpeedShown);
  const std::vector<uint8_t> controlValue = ValueStartingWith(quietFan);
  const std::vector<uint8_t> positionValue = ValueStartingWith(placed);
  const std::vector<uint8_t> defaultDisplay = BytesOf(DefaultDisplayItemRecord());
  const std::vector<uint8_t> defaultControl = BytesOf(DefaultSystemControlRecord());

  const PassFrames defaults = {TEMPERATURE, 10, 80, FAN_MANUAL, 1, 100};
  const PassFrames fanSpeedAtFullRatio = {100, 10, 80, FAN_MANUAL, 1, 100};
  const PassFrames quiet = {65, 20, 60, FAN_MANUAL, 0, 65};
  struct Case {
    DWORD type;
    size_t length;
    PassFrames sent;
    POINT at;
  } cases[] = {
      {REG_BINARY, 0, defaults, CREATED_AT},
      // 3 bytes: the item's first three bytes; too short for a system control field or a position.
      {REG_BINARY, 3, fanSpeedAtFullRatio, CREATED_AT},
      {REG_BINARY, 57, quiet, {placed.left, placed.top}},
      {REG_BINARY, 293, quiet, {placed.left, placed.top}},
      {REG_BINARY, LARGEST_VALUE, quiet, {placed.left, placed.top}},
  };
  std::vector<Case> all(std::begin(cases), std::end(cases));
  const size_t lengths[] = {0, 3, 57, 293, LARGEST_VALUE};
  for (DWORD type : {REG_SZ, REG_DWORD})
    for (size_t length : lengths) all.push_back({type, length, defaults, CREATED_AT});

  TorvexLog log(torvex.LogFolder());
  for (const Case& c : all) {
    std::ostringstream name;
    name << "type " << c.type << ", " << c.length << " bytes";
    SCOPED_TRACE(name.str());
    size_t logged = log.Events().size();
    DeleteSettingsKey();
    ASSERT_TRUE(WriteSettingsValue("Display Item", displayValue.data(), c.length, c.type));
    ASSERT_TRUE(WriteSettingsValue("System Control", controlValue.data(), c.length, c.type));
    ASSERT_TRUE(WriteSettingsValue("Window Postion", positionValue.data(), c.length, c.type));
    // As stored: Wine ends a long REG_SZ with a terminator of its own.
    const size_t stored = ReadSettingsValue("System Control")->size();
    size_t mark = scenario.Log().Read().size();

    ASSERT_NE(StartWithWindow(), nullptr);
    EXPECT_TRUE(WaitUntil([&] { return WindowRect(window).left == c.at.x; }));
    ExpectAt(window, c.at);
    EXPECT_EQ(FirstPass(scenario.Log(), mark), c.sent);
    EXPECT_EQ(torvex.Quit(), 1u);
    const char* typeName = c.type == REG_BINARY ? "REG_BINARY"
                           : c.type == REG_SZ   ? "REG_SZ"
                                                : "REG_DWORD";
    EXPECT_NE(FindEvent(log.Events(),
                        "Setting \"System Control\" is damaged: " + std::string(typeName) + " of " +
                            std::to_string(stored) + " bytes",
                        logged),
              SIZE_MAX);

    size_t read = c.type == REG_BINARY ? c.length : 0;
    unsigned long type = REG_NONE;
    EXPECT_EQ(ReadSettingsValue("Display Item", &type), Merged(defaultDisplay, displayValue, read));
    EXPECT_EQ(type, static_cast<unsigned long>(REG_BINARY));
    EXPECT_EQ(ReadSettingsValue("System Control", &type),
              Merged(defaultControl, controlValue, read));
    EXPECT_EQ(type, static_cast<unsigned long>(REG_BINARY));
    auto position = ReadSettingsRecord<RecordRect>("Window Postion");
    ASSERT_TRUE(position.has_value());
    EXPECT_EQ(position->left, c.at.x);
    EXPECT_EQ(position->top, c.at.y);
  }
}

// Wine enforces a key's access list: values that cannot be read give the defaults, and quitting,
// which cannot write them either, leaves them as they were.
TEST_F(TorvexHostileFiles, SettingsKeyWhoseValuesCannotBeRead) {
  scenario.bridges[0].temperature = TEMPERATURE;
  SystemControlRecord quietFan = DefaultSystemControlRecord();
  quietFan.fanRatio = 65;
  ASSERT_TRUE(WriteSettingsValue("System Control", &quietFan, sizeof quietFan));
  ASSERT_TRUE(DenySettingsValueAccess());

  ASSERT_NE(StartWithWindow(), nullptr);
  EXPECT_EQ(FirstPass(scenario.Log(), 0), (PassFrames{TEMPERATURE, 10, 80, FAN_MANUAL, 1, 100}));
  EXPECT_EQ(torvex.Quit(), 1u);

  ASSERT_TRUE(AllowSettingsValueAccess());
  EXPECT_EQ(ReadSettingsValue("System Control"), BytesOf(quietFan));
  EXPECT_FALSE(ReadSettingsValue("Display Item").has_value());
}

void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file << bytes;
}

std::string ReadFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << file.rdbuf();
  return bytes.str();
}

void ReplaceByDirectory(const std::string& path) {
  DeleteFileA(path.c_str());
  CreateDirectoryA(path.c_str(), nullptr);
}

// A bitmap whose header claims `width` by `height` pixels over the pixels it really has.
void ClaimSize(const std::string& path, int32_t width, int32_t height) {
  std::string bytes = ReadFile(path);
  std::memcpy(&bytes[18], &width, sizeof width);
  std::memcpy(&bytes[22], &height, sizeof height);
  WriteFile(path, bytes);
}

// Each kind of damage to the skin folder, applied to a fresh copy of the default skin. A bitmap
// that does not load is refused: the window keeps its created size without Background1, and a
// control without its strip shows the background. The event log names what it refused, and why.
TEST_F(TorvexHostileFiles, DamagedSkins) {
  using Damage = std::function<void(const std::string& skin)>;
  struct Case {
    const char* name;
    Damage damage;
    const char* logged;  // what the event log tells, {skin} standing for the skin folder; or null
  } cases[] = {
      {"skin.ini of random bytes",
       [](const std::string& skin) {
         std::string noise(4096, '\0');
         for (size_t i = 0; i < noise.size(); ++i) noise[i] = static_cast<char>(i * 131 + 7);
         WriteFile(skin + "\\skin.ini", noise);
       },
       "Skin key [MAIN] Background1 is missing or empty"},
      {"five megabyte skin.ini",
       [](const std::string& skin) {
         std::string ini;
         for (int section = 0; ini.size() < 5 * 1024 * 1024; ++section)
           ini += "[S" + std::to_string(section) + "]\nButton.1=PUSHBUTTON,1,1,1,1,x.bmp," +
                  std::string(60, 'z') + "\n";
         WriteFile(skin + "\\skin.ini", ini + ReadFile(skin + "\\skin.ini"));
       },
       nullptr},
      {"bitmaps cut short",
       [](const std::string& skin) {
         for (const char* name : {"background1.bmp", "background2.bmp", "quit.bmp"}) {
           std::string bytes = ReadFile(skin + "\\" + name);
           WriteFile(skin + "\\" + name, bytes.substr(0, bytes.size() / 3));
         }
       },
       "Skin bitmap {skin}\\background1.bmp refused: it holds fewer pixels than its header claims"},
      {"bitmaps of zero bytes",
       [](const std::string& skin) {
         for (const char* name : {"background1.bmp", "background2.bmp", "quit.bmp"})
           WriteFile(skin + "\\" + name, "");
       },
       "Skin bitmap {skin}\\quit.bmp refused: it is not a bitmap"},
      {"bitmaps claiming absurd sizes",
       [](const std::string& skin) {
         ClaimSize(skin + "\\background1.bmp", 12000, 12000);
         ClaimSize(skin + "\\background2.bmp", 30000, 30000);
         ClaimSize(skin + "\\quit.bmp", 1, -2000000);
       },
       "Skin bitmap {skin}\\background2.bmp refused: it holds fewer pixels than its header claims"},
      {"bitmaps that are not bitmaps",
       [](const std::string& skin) {
         WriteFile(skin + "\\background1.bmp", "\x89PNG\r\n\x1a\n" + std::string(200, '\0'));
         WriteFile(skin + "\\quit.bmp", "BM not really");
       },
       "Skin bitmap {skin}\\background1.bmp refused: it is not a bitmap"},
      {"directories where the bitmaps belong",
       [](const std::string& skin) {
         ReplaceByDirectory(skin + "\\background1.bmp");
         ReplaceByDirectory(skin + "\\quit.bmp");
       },
       "Skin bitmap {skin}\\quit.bmp refused: it is a folder"},
      {"a directory where skin.ini belongs",
       [](const std::string& skin) { ReplaceByDirectory(skin + "\\skin.ini"); },
       "Skin file {skin}\\skin.ini not found"},
      {"a bitmap missing",
       [](const std::string& skin) { DeleteFileA((skin + "\\quit.bmp").c_str()); },
       "Skin bitmap {skin}\\quit.bmp not found"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TorvexProcess program(std::string("TorvexHostileFiles.DamagedSkins.") + c.name);
    c.damage(program.Folder() + "\\skin");
    ASSERT_TRUE(scenario.Apply());
    size_t mark = scenario.Log().Read().size();
    ASSERT_TRUE(program.Start(scenario.IniPath()));
    HWND shown = program.MainWindow();
    ASSERT_NE(shown, nullptr);
    RECT rect = WindowRect(shown);
    EXPECT_LE(rect.right - rect.left, GetSystemMetrics(SM_CXVIRTUALSCREEN));
    EXPECT_LE(rect.bottom - rect.top, GetSystemMetrics(SM_CYVIRTUALSCREEN));
    RedrawWindow(shown, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_EQ(FirstPass(scenario.Log(), mark).value, 35) << "a refresh pass ran";
    EXPECT_EQ(program.Quit(), 1u);
    if (!c.logged) continue;
    std::string logged = c.logged;
    size_t skin = logged.find("{skin}");
    if (skin != std::string::npos) logged.replace(skin, 6, program.Folder() + "\\skin");
    ExpectEventsInOrder(TorvexLog(program.LogFolder()).Events(), {logged});
  }
}

}  // namespace
