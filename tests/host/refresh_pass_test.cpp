#include "monitor/refresh_pass.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "monitor/refresh_rules.h"

namespace {

class FakeRefreshSystem : public RefreshSystem {
 public:
  void StopRefreshTimer() override { steps.push_back("stop"); }
  ClockTime ReadLocalTime() override {
    steps.push_back("time");
    return now;
  }
  int32_t TakeCpuSample() override {
    steps.push_back("cpu");
    return cpuUsage;
  }
  SpaceFigures QueryDiskSpace(char driveLetter) override {
    steps.push_back(std::string("disk ") + driveLetter);
    return disk;
  }
  MemoryFigures QueryMemory() override {
    steps.push_back("memory");
    return memory;
  }
  TemperatureSample ReadTemperature() override { return temperature; }
  bool IsMeterLinked() override { return linked; }
  void SendFrame(const MeterFrame& frame) override {
    steps.push_back("frame");
    frames.push_back(frame);
    if (onFrame) onFrame(frames.size());
  }
  void StartRefreshTimer() override { steps.push_back("start"); }

  ClockTime now{12, 0};
  int32_t cpuUsage = 0;
  SpaceFigures disk;
  MemoryFigures memory;
  TemperatureSample temperature;
  bool linked = false;
  std::vector<std::string> steps;
  std::vector<MeterFrame> frames;
  std::function<void(size_t)> onFrame;
};

int32_t ByteAt(const MeterFrame& frame, int position) {
  return frame[position] * 16 + frame[position + 1];
}

class RefreshPassTest : public ::testing::Test {
 protected:
  void SetUp() override {
    control.backlightMode = BACKLIGHT_ALWAYS;
    control.fanMode = FAN_MANUAL;
    control.lowThreshold = 10;
    control.highThreshold = 80;
    control.fanRatio = 100;
  }

  int32_t FigureSent() {
    system.frames.clear();
    RunRefreshPass(system, display, control);
    return ByteAt(system.frames.at(0), 3);
  }

  FakeRefreshSystem system;
  DisplayItemRecord display{};
  SystemControlRecord control{};
};

TEST_F(RefreshPassTest, StepsRunInOrderAndSampleCpuWhateverIsShown) {
  display.itemType = ITEM_NONE;
  RunRefreshPass(system, display, control);
  EXPECT_EQ(system.steps, (std::vector<std::string>{"stop", "time", "cpu", "frame", "frame",
                                                    "frame", "frame", "start"}));
  ASSERT_EQ(system.frames.size(), 4u);
  EXPECT_EQ(system.frames[0][2], CMD_VALUE);
  EXPECT_EQ(system.frames[1][2], CMD_FAN_THRESHOLDS);
  EXPECT_EQ(system.frames[2][2], CMD_BACKLIGHT);
  EXPECT_EQ(system.frames[3][2], CMD_FAN);
}

TEST_F(RefreshPassTest, FigureForEachItem) {
  system.cpuUsage = 42;
  system.disk = {8000, 1000};
  system.memory = {{4000, 1000}, {10000, 2500}};
  system.temperature = {45, true};
  control.fanMode = FAN_AUTO;
  display.driveLetter = 'C';
  struct Case {
    int32_t itemType;
    int32_t used;
    int32_t figure;
  } cases[] = {
      {ITEM_NONE, 0, 0},
      {ITEM_HDD_SPACE, 1, 88},
      {ITEM_HDD_SPACE, 0, 13},
      {ITEM_CPU_USAGE, 0, 42},
      {ITEM_RAM_SPACE, 1, 75},
      {ITEM_RAM_SPACE, 0, 25},
      {ITEM_PAGE_FILE_SPACE, 1, 75},
      {ITEM_PAGE_FILE_SPACE, 0, 25},
      {ITEM_TEMPERATURE, 0, 45},
      {ITEM_FAN_SPEED, 0, 75},
      {7, 0, 0},
      {-1, 0, 0},
  };
  for (const Case& c : cases) {
    display.itemType = c.itemType;
    display.hddUsed = display.ramUsed = display.pageUsed = c.used;
    EXPECT_EQ(FigureSent(), c.figure) << "item " << c.itemType << " used " << c.used;
  }
}

TEST_F(RefreshPassTest, DiskIsAskedForTheRecordsLetterOnlyWhenShown) {
  display.itemType = ITEM_HDD_SPACE;
  display.driveLetter = 'E';
  RunRefreshPass(system, display, control);
  EXPECT_EQ(system.steps[3], "disk E");
  system.steps.clear();
  display.itemType = ITEM_CPU_USAGE;
  RunRefreshPass(system, display, control);
  for (const std::string& step : system.steps) EXPECT_NE(step.substr(0, 4), "disk");
}

TEST_F(RefreshPassTest, UnsupportedCpuSamplerSendsByteFF) {
  display.itemType = ITEM_CPU_USAGE;
  system.cpuUsage = -1;
  EXPECT_EQ(FigureSent(), 0xFF);
}

// A disk that cannot be read, or a byte that names none (not asked for: no letter would name the
// current folder's disk), sends 0 and says the drive is unavailable: the window shows no full disk.
TEST_F(RefreshPassTest, UnreadableDiskSendsZeroAndSaysSo) {
  display.itemType = ITEM_HDD_SPACE;
  const struct {
    uint8_t letter;
    SpaceFigures disk;
    int32_t figure;
  } cases[] = {
      {'c', {8000, 1000}, 13}, {'Q', {0, 0}, 0}, {'1', {8000, 1000}, 0}, {0xFF, {8000, 1000}, 0}};
  for (const auto& c : cases) {
    display.driveLetter = c.letter;
    system.disk = c.disk;
    system.frames.clear();
    EXPECT_EQ(RunRefreshPass(system, display, control).driveUnavailable, c.figure == 0)
        << +c.letter;
    EXPECT_EQ(ByteAt(system.frames.at(0), 3), c.figure) << +c.letter;
  }
}

TEST_F(RefreshPassTest, ControlFramesCarryTheRecord) {
  control.fanMode = FAN_AUTO;
  control.backlightMode = BACKLIGHT_WINDOW;
  control.backlightFrom.wHour = 22;
  control.backlightTo.wHour = 6;
  system.now = {23, 30};
  RunRefreshPass(system, display, control);
  EXPECT_EQ(ByteAt(system.frames[1], 3), 10);
  EXPECT_EQ(ByteAt(system.frames[1], 5), 80);
  EXPECT_EQ(system.frames[1][7], FAN_AUTO);
  EXPECT_EQ(system.frames[2][3], 1);
  EXPECT_EQ(ByteAt(system.frames[3], 3), 1);  // automatic fan: the meter decides

  system.frames.clear();
  system.now = {12, 0};
  control.fanMode = FAN_MANUAL;
  control.fanRatio = 65;
  RunRefreshPass(system, display, control);
  EXPECT_EQ(system.frames[2][3], 0);
  EXPECT_EQ(ByteAt(system.frames[3], 3), 65);
}

TEST_F(RefreshPassTest, OutcomeTellsWhatWasSentAndSurvivesTheMessage) {
  control.fanMode = 7;  // only a damaged record holds it: the meter decides, as in "Auto"
  control.fanRatio = 300;
  struct Case {
    int32_t itemType;
    PassOutcome outcome;  // the link and the reading as the system gives them
  } cases[] = {
      {ITEM_TEMPERATURE, {ITEM_TEMPERATURE, 41, true, FAN_AUTO, true, 41, true}},
      {ITEM_FAN_SPEED, {ITEM_FAN_SPEED, 300 & 0xFF, false, FAN_AUTO, true, 255, false}},
      {ITEM_HDD_SPACE,
       {ITEM_HDD_SPACE, 0, true, FAN_AUTO, true, 41, true, true}},  // no disk chosen
  };
  for (const Case& c : cases) {
    display.itemType = c.itemType;
    system.linked = c.outcome.linked;
    system.temperature = {c.outcome.temperature, c.outcome.temperatureFresh};
    PassOutcome outcome = RunRefreshPass(system, display, control);
    EXPECT_EQ(outcome, c.outcome) << c.itemType;
    PackedPassOutcome packed = PackPassOutcome(outcome);
    EXPECT_EQ(UnpackPassOutcome(packed.first, packed.second), outcome) << c.itemType;
  }
}

TEST_F(RefreshPassTest, AnEditDuringThePassShowsInTheFramesSentAfterIt) {
  control.fanMode = FAN_MANUAL;
  control.fanRatio = 60;
  system.onFrame = [this](size_t sent) {
    if (sent == 1) control.fanRatio = 90;  // a dialog edits the record after the value frame
  };
  RunRefreshPass(system, display, control);
  EXPECT_EQ(ByteAt(system.frames[3], 3), 90);
}

}  // namespace
