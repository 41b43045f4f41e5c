#include "app/device_watch.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

// Bridges that come and go, a link, and the boxes and searches on screen. What runs "inside" a
// box or a search is what its nested message loop would deliver.
class FakeDevices : public DeviceSystem {
 public:
  bool IsLinked() override { return linked >= 0; }
  bool DetachIfRemoved() override { return !present[linked]; }
  int32_t SearchAfterChange() override {
    ++searches;
    int32_t found = -1;
    for (int32_t i = 1; i >= 0; --i)
      if (present[i] && i != linked) found = i;
    Inside(duringSearch);  // the dialog is on screen: the user has yet to press OK
    return found;
  }
  void Link(int32_t index) override { linked = index; }
  void ReleaseRemoved() override { linked = -1; }
  void ShowNotice(DeviceNotice notice) override {
    told.push_back(notice);
    ++boxesOpen;
    maxBoxesOpen = std::max(maxBoxesOpen, boxesOpen);
    Inside(duringBox);
    --boxesOpen;
  }

  // Plugs or pulls bridge `index` and delivers the change.
  void Set(int32_t index, bool plugged) {
    present[index] = plugged;
    ApplyDeviceChange(watch, *this);
  }

  DeviceWatch watch;
  bool present[2] = {};
  int32_t linked = -1;
  int searches = 0;
  int boxesOpen = 0;
  int maxBoxesOpen = 0;
  std::vector<DeviceNotice> told;
  std::function<void()> duringSearch;
  std::function<void()> duringBox;

 private:
  static void Inside(std::function<void()>& work) {
    std::function<void()> once = std::move(work);
    work = nullptr;
    if (once) once();
  }
};

using N = DeviceNotice;

TEST(DeviceWatch, AStormWhileABoxWaitsOpensNoSecondBoxAndEndsTellingTheTruth) {
  for (int changes : {699, 700}) {  // the storm ends unplugged, then plugged in
    FakeDevices devices;
    devices.present[0] = true;
    devices.linked = 0;
    devices.duringBox = [&] {
      for (int i = 0; i < changes; ++i) devices.Set(0, i % 2 == 1);
    };
    devices.Set(0, false);
    EXPECT_EQ(devices.maxBoxesOpen, 1) << changes;
    EXPECT_EQ(devices.linked, devices.present[0] ? 0 : -1) << changes;
    // The box that waited, then one with the newest state only if that differs.
    std::vector<N> expected = {N::EJECTED};
    if (devices.present[0]) expected.push_back(N::INSERTED);
    EXPECT_EQ(devices.told, expected) << changes;
  }
}

TEST(DeviceWatch, RemovalDuringASearchIsActedOnAtOnceArrivalWhenTheSearchEnds) {
  FakeDevices devices;
  devices.present[0] = true;
  devices.linked = 0;
  ASSERT_TRUE(BeginSearch(devices.watch));  // F3's search is on screen
  EXPECT_FALSE(BeginSearch(devices.watch)) << "no second search";
  devices.Set(0, false);
  EXPECT_EQ(devices.linked, -1) << "released while the search is open";
  EXPECT_EQ(devices.told, std::vector<N>{N::EJECTED});
  devices.Set(1, true);  // unlinked: a search would stack on the open one
  EXPECT_EQ(devices.searches, 0);
  EndSearch(devices.watch, devices);  // cancelled: the arrival is taken up now
  EXPECT_EQ(devices.searches, 1);
  EXPECT_EQ(devices.linked, 1);
  EXPECT_EQ(devices.told, (std::vector<N>{N::EJECTED, N::INSERTED}));
  EXPECT_TRUE(BeginSearch(devices.watch)) << "and the next search opens";
}

TEST(DeviceWatch, AMeterGoneWhileItsOwnSearchWasOpenIsReleasedAfterIt) {
  FakeDevices devices;
  devices.present[0] = true;
  devices.duringSearch = [&] { devices.Set(0, false); };  // chosen, then pulled before OK
  devices.Set(0, true);
  EXPECT_EQ(devices.linked, -1);
  EXPECT_EQ(devices.told, std::vector<N>{N::EJECTED});
}

}  // namespace
