// End to end: the real torvex.exe on a bridge that misbehaves as the virtual meter's fault keys
// ask. Every write and status read takes a millisecond, as a USB round trip does. Throughout, the
// window must answer within a second; the user sees the right box; once the meter is linked again,
// its frames arrive whole.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "app/commands.h"
#include "meter/meter_frame.h"
#include "windows/support/responsiveness_watch.h"
#include "windows/support/torvex_test.h"

namespace {

constexpr uint32_t USB_ROUND_TRIP_US = 1000;
constexpr uint32_t NIBBLES_PER_PASS = 4 * METER_FRAME_LENGTH;
constexpr int PASS_WAIT_MS = 8000;
constexpr size_t NOT_FOUND = SIZE_MAX;  // a log position that was looked for in vain

// An anomaly of a frame the meter was sent: anything but a write that never reached it.
auto BrokenFrameOf(int64_t index) {
  return [index](const MeterLogRecord& record) {
    return record.IsError() && record.index == index && !IsLostWrite(record);
  };
}

auto FaultOf(int64_t index, const char* fault) {
  return [index, fault](const MeterLogRecord& record) {
    return record.index == index && record.fault == fault;
  };
}

bool IsRelink(const MeterLogRecord& record, int64_t index) {
  return record.IsCall("CH341SetExclusive") && record.index == index && record.exclusive == 1;
}

// The log position just after the first whole pass's last frame at or after `from`: the next pass
// starts afresh there.
size_t EndOfNextPass(const MeterLog& log, size_t from, int64_t index) {
  size_t end = NOT_FOUND;
  log.WaitFor(
      [&](const MeterLogRecords& records) {
        for (size_t i = from; i < records.size(); ++i) {
          if (records[i].IsFrame() && records[i].index == index && *records[i].cmd == CMD_FAN) {
            end = i + 1;
            return true;
          }
        }
        return false;
      },
      PASS_WAIT_MS);
  return end;
}

// The next `passes` passes after log position `from` reach the meter whole: four frames each, in
// order, and no anomaly of that bridge among them.
void ExpectWholePassesFrom(const MeterLog& log, size_t from, int64_t index, size_t passes) {
  ASSERT_NE(from, NOT_FOUND) << "no position to start from";
  MeterLogRecords after;
  log.WaitFor(
      [&](const MeterLogRecords& records) {
        after.assign(records.begin() + std::min(from, records.size()), records.end());
        return Select(after, FrameOf(index)).size() >= passes * 4;
      },
      PASS_WAIT_MS);
  MeterLogRecords frames = Select(after, FrameOf(index));
  ASSERT_GE(frames.size(), passes * 4);
  const int64_t order[4] = {CMD_VALUE, CMD_FAN_THRESHOLDS, CMD_BACKLIGHT, CMD_FAN};
  for (size_t i = 0; i < passes * 4; ++i) EXPECT_EQ(*frames[i].cmd, order[i % 4]) << "frame " << i;
  int64_t lastMs = frames[passes * 4 - 1].tMs;
  for (const MeterLogRecord& broken : Select(after, BrokenFrameOf(index))) {
    EXPECT_GT(broken.tMs, lastMs) << "broken frame: " << broken.error << " " << broken.frame;
  }
}

class TorvexFaults : public TorvexTest {
 protected:
  TorvexFaults() { scenario.bridges[0] = SoundMeter(); }

  void TearDown() override {
    if (watch) {
      EXPECT_EQ(watch->Unanswered(), 0) << "slowest answer " << watch->SlowestMs() << " ms";
      EXPECT_GT(watch->Answered(), 0);
      watch.reset();
    }
    EXPECT_TRUE(torvex.IsRunning()) << "the program died";
    TorvexTest::TearDown();
  }

  // Starts the program and watches its window until the test ends.
  bool StartWatched() {
    if (!StartWithWindow()) return false;
    watch = std::make_unique<ResponsivenessWatch>(window);
    return true;
  }

  size_t LogSize() const { return scenario.Log().Read().size(); }

  // The user pulls the meter out: the program says it was ejected.
  void Unplug(int index) {
    scenario.bridges[index].present = false;
    ASSERT_TRUE(ApplyScenario());
    AnswerBox(EJECTED);
  }

  // A meter of slow writes and no faults.
  static VirtualBridgeSetup SoundMeter() {
    VirtualBridgeSetup bridge;
    bridge.present = true;
    bridge.writeMicroseconds = USB_ROUND_TRIP_US;
    bridge.statusMicroseconds = USB_ROUND_TRIP_US;
    return bridge;
  }

  // The user plugs the meter back in as `setup` says: the program links it and says so, and from
  // the link on every pass arrives whole.
  void PlugBackAndExpectWholeFrames(int index, const VirtualBridgeSetup& setup = SoundMeter()) {
    scenario.bridges[index] = setup;
    size_t mark = LogSize();
    ASSERT_TRUE(ApplyScenario());
    AnswerBox(INSERTED);
    MeterLogRecords records = scenario.Log().Read();
    size_t relink = NOT_FOUND;
    for (size_t i = mark; i < records.size(); ++i)
      if (IsRelink(records[i], index)) relink = i;
    ExpectWholePassesFrom(scenario.Log(), relink, index, 2);
  }

  std::unique_ptr<ResponsivenessWatch> watch;
};

TEST_F(TorvexFaults, WritesFailingNowAndThenBreakSomeFramesAndNothingElse) {
  scenario.bridges[0].writeFailEvery = 50;
  ASSERT_TRUE(StartWatched());
  EXPECT_EQ(scenario.Log().WaitForCount(FaultOf(0, "write fails"), 6, PASS_WAIT_MS).size(), 6u);
  EXPECT_FALSE(Select(scenario.Log().Read(), BrokenFrameOf(0)).empty());
  EXPECT_TRUE(torvex.FindWindows(DIALOG_CLASS, nullptr).empty()) << "nothing to tell the user";

  scenario.bridges[0].writeFailEvery = 0;
  ASSERT_TRUE(ApplyScenario());
  ExpectWholePassesFrom(scenario.Log(), EndOfNextPass(scenario.Log(), LogSize(), 0), 0, 2);
}

TEST_F(TorvexFaults, ABridgeThatStopsTakingWritesWorksAgainOncePluggedBackIn) {
  scenario.bridges[0].writeFailAfter = NIBBLES_PER_PASS + 50;  // dead in the second pass
  ASSERT_TRUE(StartWatched());
  ASSERT_TRUE(scenario.Log().WaitForRecord(FaultOf(0, "write fails"), PASS_WAIT_MS).has_value());
  Sleep(2000);  // two more passes into a bridge that takes nothing
  EXPECT_TRUE(torvex.FindWindows(DIALOG_CLASS, nullptr).empty());
  Unplug(0);
  PlugBackAndExpectWholeFrames(0);
}

TEST_F(TorvexFaults, AStatusReadThatFailsCountsAsTheMeterGone) {
  ASSERT_TRUE(StartWatched());
  ASSERT_EQ(scenario.Log().WaitForCount(FrameOf(0), 4, PASS_WAIT_MS).size(), 4u);
  // The linked bridge stops answering its status; a device that will not open comes along, and
  // its arrival makes the program look.
  scenario.bridges[0].statusReads = false;
  scenario.bridges[3].present = true;
  scenario.bridges[3].opens = false;
  ASSERT_TRUE(ApplyScenario());
  AnswerBox(EJECTED);
  EXPECT_TRUE(scenario.Log().WaitForRecord(CallOf("CH341CloseDevice", 0)).has_value());
  size_t released = LogSize();
  Sleep(2000);  // two refresh periods
  MeterLogRecords records = scenario.Log().Read();
  MeterLogRecords after(records.begin() + released, records.end());
  EXPECT_TRUE(Select(after, FrameOf(0)).empty()) << "nothing more is sent to it";
  EXPECT_TRUE(Select(after, IsLostWrite).empty()) << "nothing more is even tried";

  scenario.bridges[0].present = false;  // no box this time: nothing was linked
  ASSERT_TRUE(ApplyScenario());
  PlugBackAndExpectWholeFrames(0);
}

TEST_F(TorvexFaults, AnOpenThatFailsNowAndThenStillLinks) {
  // Every other open fails: the search's open succeeds and the link's own open fails.
  scenario.bridges[0].openFailEvery = 2;
  ASSERT_TRUE(StartWatched());
  ASSERT_TRUE(scenario.Log().WaitForRecord(FaultOf(0, "open fails")).has_value());
  ExpectWholePassesFrom(scenario.Log(), 0, 0, 2);
  EXPECT_TRUE(Select(scenario.Log().Read(), IsLostWrite).empty());

  // The same when it is plugged in again.
  VirtualBridgeSetup flaky = scenario.bridges[0];
  Unplug(0);
  PlugBackAndExpectWholeFrames(0, flaky);
  EXPECT_EQ(Select(scenario.Log().Read(), FaultOf(0, "open fails")).size(), 2u);
}

TEST_F(TorvexFaults, UnplugInTheMiddleOfAFrame) {
  scenario.bridges[0].unplugAfter = NIBBLES_PER_PASS + 20;  // inside the second value frame
  // A slow look at the bridge just gone: the pass in flight would go on writing meanwhile.
  scenario.bridges[0].statusMicroseconds = 20 * USB_ROUND_TRIP_US;
  ASSERT_TRUE(StartWatched());
  AnswerBox(EJECTED);
  Sleep(1000);  // a refresh period: a pass that still wrote would show
  MeterLogRecords records = scenario.Log().Read();
  MeterLogRecords frames = Select(records, FrameOf(0));
  ASSERT_EQ(frames.size(), 4u) << "the first pass whole, the second cut short";
  // Once the program has seen the bridge gone, it writes nothing more to it.
  size_t seen = 0;
  for (size_t i = 0; i < records.size(); ++i)
    if (records[i].IsCall("CH341GetStatus") && records[i].index == 0 && records[i].result == 0)
      seen = i;
  ASSERT_GT(seen, 0u);
  for (size_t i = seen; i < records.size(); ++i) EXPECT_FALSE(IsLostWrite(records[i])) << i;

  PlugBackAndExpectWholeFrames(0);
}

using TorvexShutdown = TorvexTest;

// Quitting while a pass is on its way to the meter: the meter is released only once that pass has
// ended, so nothing reaches the bridge after CH341CloseDevice.
TEST_F(TorvexShutdown, QuittingDuringAPassReleasesTheMeterOnlyAfterIt) {
  scenario.bridges[0].writeMicroseconds = 10 * USB_ROUND_TRIP_US;  // a pass of about 1.5 s
  ASSERT_NE(StartWithWindow(), nullptr);
  auto isFrame = [](int64_t cmd) {
    return [cmd](const MeterLogRecord& r) { return r.IsFrame() && r.index == 0 && r.cmd == cmd; };
  };
  ASSERT_TRUE(scenario.Log().WaitForRecord(isFrame(CMD_VALUE), PASS_WAIT_MS).has_value());
  PostMessageA(window, WM_COMMAND, COMMAND_QUIT, 0);
  ASSERT_TRUE(Select(scenario.Log().Read(), isFrame(CMD_FAN)).empty()) << "the pass had ended";
  EXPECT_EQ(torvex.WaitForExit(PASS_WAIT_MS), 1u);

  MeterLogRecords records = scenario.Log().Read();
  size_t released = records.size();  // the last close: the search at start-up closes one too
  for (size_t i = 0; i < records.size(); ++i)
    if (records[i].IsCall("CH341CloseDevice") && records[i].index == 0) released = i;
  ASSERT_LT(released, records.size());
  MeterLogRecords frames = Select({records.begin(), records.begin() + released}, FrameOf(0));
  ASSERT_FALSE(frames.empty());
  EXPECT_EQ(*frames.back().cmd, CMD_FAN) << "the pass ended whole";
  for (size_t i = released; i < records.size(); ++i) {
    const MeterLogRecord& r = records[i];
    EXPECT_FALSE((r.IsFrame() || r.IsError()) && r.index == 0) << r.error << " at " << r.tMs;
  }
}

}  // namespace
