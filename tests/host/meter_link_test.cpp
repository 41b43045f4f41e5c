#include "meter/meter_link.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "meter/bridge_library.h"
#include "support/fake_bridge.h"
#include "support/logged_events.h"

namespace {

class MeterLinkTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FakeBridge::Install();
    meterLink.deviceIndex = NO_DEVICE;
    meterLink.failedWrites = RepeatThrottle();
    TakeLoggedEvents();
  }
  void TearDown() override {
    meterLink.deviceIndex = NO_DEVICE;
    InstallBridgeLibrary(AbsentBridgeLibrary());
  }
  FakeBridge& fake = FakeBridge::Instance();
};

TEST_F(MeterLinkTest, NothingIsWrittenWhileNoMeterIsLinked) {
  SendMeterFrame(BuildValueFrame(73));
  EXPECT_TRUE(fake.calls.empty());
}

TEST_F(MeterLinkTest, FrameGoesOutNibbleByNibbleInOrder) {
  meterLink.deviceIndex = 4;
  MeterFrame frame = BuildFanThresholdsFrame(10, 80, 2);
  SendMeterFrame(frame);
  ASSERT_EQ(fake.writtenBytes.size(), 36u);
  for (int i = 0; i < 36; ++i) EXPECT_EQ(fake.writtenBytes[i], WireByte(frame[i])) << i;
  for (uint32_t index : fake.writtenIndices) EXPECT_EQ(index, 4u);
}

// A lower bound only, so it cannot flake: each nibble is followed by a 100 us pause.
TEST_F(MeterLinkTest, AFrameTakesAtLeastItsThirtySixPauses) {
  meterLink.deviceIndex = 4;
  auto started = std::chrono::steady_clock::now();
  SendMeterFrame(BuildValueFrame(73));
  EXPECT_GE(std::chrono::steady_clock::now() - started, std::chrono::microseconds(3600));
}

TEST_F(MeterLinkTest, DeviceIndexIsReadAfreshForEveryNibble) {
  meterLink.deviceIndex = 2;
  fake.afterWrite = [](size_t count) {
    if (count == 10) meterLink.deviceIndex = 7;          // relinked mid-frame
    if (count == 20) meterLink.deviceIndex = NO_DEVICE;  // unlinked mid-frame
  };
  SendMeterFrame(BuildValueFrame(1));
  ASSERT_EQ(fake.writtenIndices.size(), 20u);
  for (int i = 0; i < 10; ++i) EXPECT_EQ(fake.writtenIndices[i], 2u);
  for (int i = 10; i < 20; ++i) EXPECT_EQ(fake.writtenIndices[i], 7u);
}

TEST_F(MeterLinkTest, LinkOpensRegistersTheParserAndClaimsTheBridge) {
  fake.devices[3].opens = true;
  EXPECT_TRUE(LinkDevice(3));
  EXPECT_EQ(meterLink.deviceIndex.load(), 3);
  ASSERT_EQ(fake.calls.size(), 3u);
  EXPECT_EQ(fake.calls[0].function, "CH341OpenDevice");
  EXPECT_EQ(fake.calls[1].function, "CH341SetIntRoutine");
  EXPECT_EQ(fake.calls[2].function, "CH341SetExclusive");
  EXPECT_EQ(fake.calls[2].argument, 1u);
  for (const FakeBridgeCall& call : fake.calls) EXPECT_EQ(call.index, 3u);
  EXPECT_NE(fake.routine, nullptr);
}

TEST_F(MeterLinkTest, AnOpenThatFailsIsTriedAgainAndABridgeThatNeverOpensLeavesTheLinkAlone) {
  struct Case {
    const char* name;
    bool opens;
    int failingOpens;
    bool linked;
    int openCalls;
    std::vector<std::string> logged;
  } cases[] = {
      {"opens at once",
       true,
       0,
       true,
       1,
       {"Released device 6", "Linked device 2 (opened at try 1 of 3)"}},
      {"opens at the last attempt",
       true,
       LINK_OPEN_ATTEMPTS - 1,
       true,
       LINK_OPEN_ATTEMPTS,
       {"Released device 6", "Linked device 2 (opened at try 3 of 3)"}},
      {"fails every attempt",
       true,
       LINK_OPEN_ATTEMPTS,
       false,
       LINK_OPEN_ATTEMPTS,
       {"Device 2 could not be opened (3 tries): the link stays as it was"}},
      {"never opens",
       false,
       0,
       false,
       LINK_OPEN_ATTEMPTS,
       {"Device 2 could not be opened (3 tries): the link stays as it was"}},
  };
  for (const Case& c : cases) {
    FakeBridge::Install();
    meterLink.deviceIndex = 6;  // the working link: released only once the new bridge is open
    fake.devices[2].opens = c.opens;
    fake.devices[2].failingOpens = c.failingOpens;
    EXPECT_EQ(LinkDevice(2), c.linked) << c.name;
    EXPECT_EQ(TakeLoggedEvents(), c.logged) << c.name;
    EXPECT_EQ(meterLink.deviceIndex.load(), c.linked ? 2 : 6) << c.name;
    EXPECT_EQ(fake.CountCalls("CH341OpenDevice"), c.openCalls) << c.name;
    EXPECT_EQ(fake.CountCalls("CH341CloseDevice"), c.linked ? 1 : 0) << c.name;
    EXPECT_EQ(fake.CountCalls("CH341SetExclusive"), c.linked ? 2 : 0) << c.name;
    EXPECT_EQ(fake.routine != nullptr, c.linked) << c.name;
    SendMeterFrame(BuildValueFrame(1));
    ASSERT_EQ(fake.writtenIndices.size(), 36u) << c.name;
    EXPECT_EQ(fake.writtenIndices[0], c.linked ? 2u : 6u) << c.name;
  }
}

// A bridge that refuses every write of a pass still gets one line, not one per nibble or frame.
TEST_F(MeterLinkTest, RefusedWritesAreLoggedOnceAndThenCountedNotLineByLine) {
  meterLink.deviceIndex = 4;
  fake.writesFail = true;
  for (int pass = 0; pass < 3; ++pass) SendMeterFrame(BuildValueFrame(1));
  EXPECT_EQ(TakeLoggedEvents(),
            std::vector<std::string>{
                "A write to device 4 failed (further failures: one line a minute at most)"});
  ReleaseBridge(4);
  EXPECT_EQ(TakeLoggedEvents(),
            (std::vector<std::string>{"107 more writes to device 4 failed", "Released device 4"}));
}

TEST_F(MeterLinkTest, UnlinkReleasesAndLeavesTheIndexToTheCaller) {
  meterLink.deviceIndex = 5;
  UnlinkDevice();
  ASSERT_EQ(fake.calls.size(), 2u);
  EXPECT_EQ(fake.calls[0].function, "CH341SetExclusive");
  EXPECT_EQ(fake.calls[0].argument, 0u);
  EXPECT_EQ(fake.calls[1].function, "CH341CloseDevice");
  EXPECT_EQ(meterLink.deviceIndex.load(), 5);
  EXPECT_EQ(TakeLoggedEvents(), std::vector<std::string>{"Released device 5"});
}

TEST_F(MeterLinkTest, UnlinkWithNoMeterMakesNoCall) {
  UnlinkDevice();
  EXPECT_TRUE(fake.calls.empty());
}

TEST_F(MeterLinkTest, DetachIfRemovedEndsTheLinkOnlyWhenTheStatusReadFails) {
  EXPECT_EQ(DetachIfRemoved(), NO_DEVICE) << "nothing linked";
  EXPECT_TRUE(fake.calls.empty());
  meterLink.deviceIndex = 1;
  fake.devices[1].statusReads = true;
  EXPECT_EQ(DetachIfRemoved(), NO_DEVICE);
  EXPECT_EQ(meterLink.deviceIndex.load(), 1);
  fake.devices[1].statusReads = false;
  EXPECT_EQ(DetachIfRemoved(), 1);
  EXPECT_EQ(meterLink.deviceIndex.load(), NO_DEVICE);
}

TEST(BridgeLibrary, AbsentLibraryFindsNoMeter) {
  const BridgeLibrary& absent = AbsentBridgeLibrary();
  EXPECT_TRUE(IsInvalidBridgeHandle(absent.openDevice(0)));
  uint32_t status = 0x1234;
  EXPECT_EQ(absent.getStatus(0, &status), 0);
  EXPECT_EQ(status, 0x1234u);
}

TEST(BridgeLibrary, IncompleteTableCountsAsAbsent) {
  FakeBridge::Install();
  BridgeLibrary partial = Bridge();
  partial.closeDevice = nullptr;
  InstallBridgeLibrary(partial);
  EXPECT_TRUE(IsInvalidBridgeHandle(Bridge().openDevice(0)));
  InstallBridgeLibrary(AbsentBridgeLibrary());
}

}  // namespace
