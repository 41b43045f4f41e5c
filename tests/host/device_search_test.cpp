#include "meter/device_search.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "meter/bridge_library.h"
#include "support/fake_bridge.h"

namespace {

class DeviceSearchTest : public ::testing::Test {
 protected:
  void SetUp() override { FakeBridge::Install(); }
  void TearDown() override { InstallBridgeLibrary(AbsentBridgeLibrary()); }

  void Attach(int index, uint32_t status) {
    fake.devices[index].opens = true;
    fake.devices[index].statusReads = true;
    fake.devices[index].status = status;
  }

  std::vector<int32_t> Listed(const IdleBridges& idle) {
    return std::vector<int32_t>(idle.indices, idle.indices + idle.count);
  }

  FakeBridge& fake = FakeBridge::Instance();
};

TEST(DeviceSearch, IdleTestLooksAtThreeBits) {
  struct Case {
    uint32_t status;
    bool idle;
  } cases[] = {{0x0200, true},  {0x0300, false}, {0x0A00, false}, {0x0000, false},
               {0xFFFF, false}, {0xF2FF, true},  {0x0600, true}};
  for (const Case& c : cases) EXPECT_EQ(IsIdleStatus(c.status), c.idle) << std::hex << c.status;
}

TEST_F(DeviceSearchTest, ListsIdleBridgesInProbeOrderAndClosesEachProbe) {
  Attach(2, 0x0200);
  Attach(10, 0x0200);
  Attach(5, 0x0300);  // busy
  IdleBridges idle = ProbeIdleBridges(NO_DEVICE);
  EXPECT_EQ(Listed(idle), (std::vector<int32_t>{2, 10}));
  EXPECT_EQ(idle.lastIdle, 10);
  EXPECT_EQ(fake.CountCalls("CH341OpenDevice"), 16);
  EXPECT_EQ(fake.CountCalls("CH341CloseDevice"), 3);  // only the ones that opened
  EXPECT_EQ(fake.CountCalls("CH341ResetDevice"), 3);
  EXPECT_EQ(AutoSearchResult(idle, NO_DEVICE), SEARCH_ASK_USER);
}

TEST_F(DeviceSearchTest, TheLinkedBridgeIsNeitherOpenedNorListed) {
  Attach(3, 0x0200);
  Attach(7, 0x0200);
  IdleBridges idle = ProbeIdleBridges(3);
  EXPECT_EQ(Listed(idle), (std::vector<int32_t>{7}));
  for (const FakeBridgeCall& call : fake.calls) EXPECT_NE(call.index, 3u) << call.function;
  // One idle bridge while another is linked: the user is asked.
  EXPECT_EQ(AutoSearchResult(idle, 3), SEARCH_ASK_USER);
}

// The probe hands the read 0xFFFF, so a read that fills nothing fails the idle test; the word
// decides, whatever the read returns.
TEST_F(DeviceSearchTest, TheStatusWordDecidesAndAFailedReadLeavesAWordThatIsNotIdle) {
  struct Case {
    bool fills;
    bool returnsFailure;
    bool idle;
  } cases[] = {{false, true, false}, {true, true, true}, {true, false, true}};
  for (const Case& c : cases) {
    FakeBridge::Install();
    Attach(4, 0x0200);
    fake.devices[4].statusReads = c.fills;
    fake.devices[4].statusFailsAnyway = c.returnsFailure;
    EXPECT_EQ(ProbeIdleBridges(NO_DEVICE).count, c.idle ? 1 : 0) << c.fills << c.returnsFailure;
    for (const FakeBridgeCall& call : fake.calls) {
      if (call.function != "CH341GetStatus") continue;
      EXPECT_EQ(call.argument, 0xFFFFu);
    }
  }
}

TEST_F(DeviceSearchTest, AutoResults) {
  EXPECT_EQ(AutoSearchResult(ProbeIdleBridges(NO_DEVICE), NO_DEVICE), SEARCH_NONE_FOUND);
  Attach(9, 0x0200);
  EXPECT_EQ(AutoSearchResult(ProbeIdleBridges(NO_DEVICE), NO_DEVICE), 9);
}

// The log names every index as a device: "idle: 0" would read as a count of none.
TEST_F(DeviceSearchTest, TheLogNamesTheBridgesFoundAndTheIdleOnesAsDevices) {
  struct Case {
    std::vector<std::pair<int, uint32_t>> attached;  // index, status
    const char* described;
  } cases[] = {
      {{}, "no bridge found"},
      {{{0, 0x0200}}, "found device 0; idle: device 0"},
      {{{6, 0x0300}}, "found device 6; idle: none"},
      {{{2, 0x0200}, {10, 0x0200}, {5, 0x0300}}, "found devices 2, 5, 10; idle: devices 2, 10"},
  };
  for (const Case& c : cases) {
    FakeBridge::Install();
    for (auto [index, status] : c.attached) Attach(index, status);
    EXPECT_EQ(DescribeProbe(ProbeIdleBridges(NO_DEVICE)), c.described);
  }
}

}  // namespace
