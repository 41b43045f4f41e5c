#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "settings/settings_records.h"
#include "settings/settings_registry.h"
#include "settings/stored_values.h"
#include "support/record_bytes.h"
#include "windows/support/settings_key.h"
#include "windows/support/test_window.h"

namespace {

constexpr char DISPLAY_ITEM[] = "Display Item";
constexpr char SYSTEM_CONTROL[] = "System Control";
constexpr char WINDOW_POSITION[] = "Window Postion";
constexpr size_t DISPLAY_ITEM_SIZE = sizeof(DisplayItemRecord);
constexpr size_t SYSTEM_CONTROL_SIZE = sizeof(SystemControlRecord);

// Where the main window of these tests is created, and its size.
constexpr RECT CREATED = {133, 135, 133 + 662, 135 + 230};

std::vector<uint8_t> RectBytes(std::vector<int32_t> coordinates) {
  std::vector<uint8_t> bytes(coordinates.size() * sizeof(int32_t));
  std::memcpy(bytes.data(), coordinates.data(), bytes.size());
  return bytes;
}

template <typename Record>
void FillRecord(Record& record, const std::vector<uint8_t>& bytes) {
  ASSERT_EQ(bytes.size(), sizeof record);
  std::memcpy(&record, bytes.data(), sizeof record);
}

void StoreValue(const char* name, const std::vector<uint8_t>& bytes, DWORD type = REG_BINARY) {
  EXPECT_TRUE(WriteSettingsValue(name, bytes.data(), bytes.size(), type)) << name;
}

std::vector<int32_t> Coordinates(const RECT& rect) {
  return {rect.left, rect.top, rect.right, rect.bottom};
}

// Each test starts with no settings key, zero records and a main window of its own, visible at
// the place start-up would create it, and leaves none of them behind.
class SettingsRegistry : public ::testing::Test {
 protected:
  void SetUp() override {
    DeleteSettingsKey();
    ASSERT_FALSE(SettingsKeyExists());
    settings = Settings{};
    window = CreateTestWindow("TorvexSettingsTest", DefWindowProcA);
    ASSERT_NE(window, nullptr);
    SetWindowPos(window, nullptr, CREATED.left, CREATED.top, CREATED.right - CREATED.left,
                 CREATED.bottom - CREATED.top, SWP_NOZORDER | SWP_SHOWWINDOW);
    ASSERT_EQ(Coordinates(WindowRect()), Coordinates(CREATED));
  }

  void TearDown() override {
    if (window) DestroyWindow(window);
    settings = Settings{};
    DeleteSettingsKey();
  }

  RECT WindowRect() const {
    RECT rect = {};
    GetWindowRect(window, &rect);
    return rect;
  }

  HWND window = nullptr;
};

TEST_F(SettingsRegistry, FirstRunCreatesTheKeyAndAppliesTheDefaults) {
  LoadSettings(window);

  EXPECT_TRUE(SettingsKeyExists());
  EXPECT_FALSE(ReadSettingsValue(DISPLAY_ITEM).has_value()) << "loading writes nothing";
  EXPECT_EQ(BytesOf(settings.displayItem), BytesOf(DefaultDisplayItemRecord()));
  EXPECT_EQ(BytesOf(settings.systemControl), BytesOf(DefaultSystemControlRecord()));
  EXPECT_EQ(Coordinates(WindowRect()), Coordinates(CREATED));
}

TEST_F(SettingsRegistry, EachMissingValueGetsItsOwnDefaults) {
  const std::vector<uint8_t> displayItem = BytesOf(PatternedDisplayItem(3));
  StoreValue(DISPLAY_ITEM, displayItem);

  LoadSettings(window);

  EXPECT_EQ(BytesOf(settings.displayItem), displayItem);
  EXPECT_EQ(BytesOf(settings.systemControl), BytesOf(DefaultSystemControlRecord()));
}

TEST_F(SettingsRegistry, ShortDisplayItemReplacesOnlyItsOwnLengthOfTheDefaults) {
  std::vector<uint8_t> expected = BytesOf(PatternedDisplayItem(9));
  expected.resize(200);
  StoreValue(DISPLAY_ITEM, expected);

  LoadSettings(window);

  const std::vector<uint8_t> defaults = BytesOf(DefaultDisplayItemRecord());
  expected.insert(expected.end(), defaults.begin() + expected.size(), defaults.end());
  EXPECT_EQ(BytesOf(settings.displayItem), expected);
}

TEST_F(SettingsRegistry, LongValuesGiveTheirFirstBytesAndNothingBeyond) {
  std::vector<uint8_t> longDisplayItem = BytesOf(PatternedDisplayItem(17));
  longDisplayItem.resize(DISPLAY_ITEM_SIZE + 8, 0x77);
  StoreValue(DISPLAY_ITEM, longDisplayItem);
  StoreValue(SYSTEM_CONTROL, {});  // present but empty: the defaults, nothing of its neighbour
  StoreValue(WINDOW_POSITION, RectBytes({-10, 20, 652, 250, 0x77777777}));

  LoadSettings(window);

  EXPECT_EQ(
      BytesOf(settings.displayItem),
      std::vector<uint8_t>(longDisplayItem.begin(), longDisplayItem.begin() + DISPLAY_ITEM_SIZE));
  EXPECT_EQ(BytesOf(settings.systemControl), BytesOf(DefaultSystemControlRecord()));
  EXPECT_EQ(Coordinates(WindowRect()), std::vector<int32_t>({-10, 20, 652, 250}));
}

TEST_F(SettingsRegistry, EmptyValuesLeaveTheDefaults) {
  StoreValue(DISPLAY_ITEM, {});
  StoreValue(SYSTEM_CONTROL, {});
  StoreValue(WINDOW_POSITION, {});

  LoadSettings(window);

  EXPECT_EQ(BytesOf(settings.displayItem), BytesOf(DefaultDisplayItemRecord()));
  EXPECT_EQ(BytesOf(settings.systemControl), BytesOf(DefaultSystemControlRecord()));
  EXPECT_EQ(Coordinates(WindowRect()), Coordinates(CREATED));
}

// Only REG_BINARY is ever written: a value of another type, put there by hand or by other
// software, counts as missing and is never read as a record or a position.
TEST_F(SettingsRegistry, ValuesOfAnotherTypeCountAsMissing) {
  const std::vector<uint8_t> text = {'T', 'e', 'm', 'p', 'e', 'r', 'a', 't', 'u', 'r', 'e', 0};
  const std::vector<uint8_t> dword = {0x78, 0x56, 0x34, 0x12};
  struct Case {
    const char* name;
    DWORD type;
    std::vector<uint8_t> bytes;
  } cases[] = {
      {DISPLAY_ITEM, REG_SZ, text},
      {DISPLAY_ITEM, REG_DWORD, dword},
      {SYSTEM_CONTROL, REG_SZ, text},
      {SYSTEM_CONTROL, REG_DWORD, dword},
      {WINDOW_POSITION, REG_SZ, text},
      {WINDOW_POSITION, REG_DWORD, dword},
      {WINDOW_POSITION, REG_QWORD, RectBytes({40, 50})},
  };
  for (const Case& c : cases) {
    DeleteSettingsKey();
    settings = Settings{};
    StoreValue(c.name, c.bytes, c.type);

    LoadSettings(window);

    EXPECT_EQ(BytesOf(settings.displayItem), BytesOf(DefaultDisplayItemRecord()))
        << c.name << " type " << c.type;
    EXPECT_EQ(BytesOf(settings.systemControl), BytesOf(DefaultSystemControlRecord()))
        << c.name << " type " << c.type;
    EXPECT_EQ(Coordinates(WindowRect()), Coordinates(CREATED)) << c.name << " type " << c.type;
  }
}

// The key may not open at all (a damaged or locked user hive). Simulated by pointing
// HKEY_CURRENT_USER at a handle that is no key.
TEST_F(SettingsRegistry, AKeyThatCannotBeOpenedGivesTheDefaults) {
  HANDLE notAKey = CreateEventA(nullptr, FALSE, FALSE, nullptr);
  ASSERT_EQ(RegOverridePredefKey(HKEY_CURRENT_USER, static_cast<HKEY>(notAKey)), ERROR_SUCCESS);
  HKEY key = nullptr;
  LONG opened = RegCreateKeyA(HKEY_CURRENT_USER, "Software\\Velquin\\Torvex", &key);

  LoadSettings(window);
  SaveSettings(window);

  RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
  CloseHandle(notAKey);
  ASSERT_NE(opened, ERROR_SUCCESS) << "the key opened after all";
  EXPECT_EQ(BytesOf(settings.displayItem), BytesOf(DefaultDisplayItemRecord()));
  EXPECT_EQ(BytesOf(settings.systemControl), BytesOf(DefaultSystemControlRecord()));
  EXPECT_EQ(Coordinates(WindowRect()), Coordinates(CREATED));
  EXPECT_FALSE(SettingsKeyExists());
}

TEST_F(SettingsRegistry, StoredPositionMovesTheWindowAndKeepsItsSize) {
  RECT work{};
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  const std::vector<int32_t> workCorner = {work.right - 662, work.bottom - 230, work.right,
                                           work.bottom};
  struct Case {
    const char* name;
    std::vector<int32_t> stored;
    std::vector<int32_t> placed;
  } cases[] = {
      {"over the left edge", {-10, 20, 652, 250}, {-10, 20, 652, 250}},
      {"size stored differs", {300, 400, 310, 410}, {300, 400, 962, 630}},
      {"left and top only", {40, 50}, {40, 50, 702, 280}},
      {"on no monitor", {5000, 5000, 5662, 5230}, workCorner},
      {"a corner showing", {work.right - 5, work.bottom - 5}, workCorner},
      {"far beyond the coordinates", {INT32_MAX, 0, 0, 0}, Coordinates(CREATED)},
      {"too short for a top", {40}, Coordinates(CREATED)},
  };
  for (const Case& c : cases) {
    SetWindowPos(window, nullptr, CREATED.left, CREATED.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    StoreValue(WINDOW_POSITION, RectBytes(c.stored));

    LoadSettings(window);

    EXPECT_EQ(Coordinates(WindowRect()), c.placed) << c.name;
  }
}

TEST_F(SettingsRegistry, SavedSettingsLoadByteForByte) {
  // Padding and reserved bytes included.
  const std::vector<uint8_t> displayItem = BytesOf(PatternedDisplayItem(29));
  const std::vector<uint8_t> systemControl = BytesOf(PatternedSystemControl());
  FillRecord(settings.displayItem, displayItem);
  FillRecord(settings.systemControl, systemControl);
  SetWindowPos(window, nullptr, 250, 260, 0, 0, SWP_NOSIZE | SWP_NOZORDER);

  SaveSettings(window);
  settings = Settings{};
  SetWindowPos(window, nullptr, CREATED.left, CREATED.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  LoadSettings(window);

  EXPECT_EQ(BytesOf(settings.displayItem), displayItem);
  EXPECT_EQ(BytesOf(settings.systemControl), systemControl);
  EXPECT_EQ(Coordinates(WindowRect()), std::vector<int32_t>({250, 260, 912, 490}));
}

TEST_F(SettingsRegistry, SaveWritesBinaryValuesOfTheRecordSizes) {
  SaveSettings(window);

  struct Case {
    const char* name;
    size_t size;
  } cases[] = {{DISPLAY_ITEM, DISPLAY_ITEM_SIZE},
               {SYSTEM_CONTROL, SYSTEM_CONTROL_SIZE},
               {WINDOW_POSITION, sizeof(RecordRect)}};
  for (const Case& c : cases) {
    unsigned long type = REG_NONE;
    auto bytes = ReadSettingsValue(c.name, &type);
    ASSERT_TRUE(bytes.has_value()) << c.name;
    EXPECT_EQ(type, static_cast<unsigned long>(REG_BINARY)) << c.name;
    EXPECT_EQ(bytes->size(), c.size) << c.name;
  }
  EXPECT_EQ(ReadSettingsValue(WINDOW_POSITION), RectBytes(Coordinates(CREATED)));
}

TEST_F(SettingsRegistry, HiddenWindowSavesTheRecordsButNotItsPosition) {
  const std::vector<uint8_t> oldPosition = RectBytes({1, 2, 3, 4});
  StoreValue(WINDOW_POSITION, oldPosition);
  const std::vector<uint8_t> displayItem = BytePattern(DISPLAY_ITEM_SIZE, 5);
  const std::vector<uint8_t> systemControl = BytePattern(SYSTEM_CONTROL_SIZE, 77);
  FillRecord(settings.displayItem, displayItem);
  FillRecord(settings.systemControl, systemControl);
  ShowWindow(window, SW_HIDE);
  ASSERT_FALSE(IsWindowVisible(window));

  SaveSettings(window);

  EXPECT_EQ(ReadSettingsValue(DISPLAY_ITEM), displayItem);
  EXPECT_EQ(ReadSettingsValue(SYSTEM_CONTROL), systemControl);
  EXPECT_EQ(ReadSettingsValue(WINDOW_POSITION), oldPosition);
}

}  // namespace
