#include "app/device_watch.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

// Bridges that come and go, a link, and the boxes and searches on screen. What runs "inside" a
// box or a search is what its nested message loop would deliver.
class FakeDevices : public DeviceSystem {
 public:
  int32_t LinkedDevice() override { return linked; }
  bool DetachIfRemoved() override { return !present[linked]; }
  int32_t SearchAfterChange() override {
    ++searches;
    int32_t found = -1;
    for (int32_t i = 1; i >= 0; --i)
      if (present[i] && i != linked) found = i;
    Inside(duringSearch);  // the dialog is on screen: the user has yet to press OK
    return found;
  }
  int32_t SearchForAnother() override { return SearchAfterChange(); }
  void BringSearchForward() override {}
  bool Link(int32_t index) override {
    if (!present[index] || !opens[index]) return false;
    linked = index;
    ++links;
    return true;
  }
  void ReleaseRemoved() override { linked = -1; }
  void ShowNotice(DeviceNotice notice) override {
    told.push_back(notice);
    ++boxesOpen;
    maxBoxesOpen = std::max(maxBoxesOpen, boxesOpen);
    Inside(duringBox);
    --boxesOpen;
  }
  bool RunEnded() override { return ended; }
  void PausePasses() override { ++pauses; }
  void ResumePasses() override { ++resumes; }
  void StartSettlePeriod() override {}

  // Plugs or pulls bridge `index` and delivers the change.
  void Set(int32_t index, bool plugged) {
    present[index] = plugged;
    ApplyDeviceChange(watch, *this);
  }

  DeviceWatch watch;
  bool present[2] = {};
  bool opens[2] = {true, true};
  int32_t linked = -1;
  bool ended = false;
  int searches = 0, links = 0, pauses = 0, resumes = 0;
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

TEST(DeviceWatch, AMeterGoneWhileItsOwnSearchWasOpenIsNotLinkedNorAnnounced) {
  FakeDevices devices;
  devices.present[0] = true;
  devices.duringSearch = [&] { devices.Set(0, false); };  // chosen, then pulled before OK
  devices.Set(0, true);
  EXPECT_EQ(devices.linked, -1);
  EXPECT_EQ(devices.searches, 2) << "the change during the search is looked at after it";
  EXPECT_TRUE(devices.told.empty());
}

// One step of a day, as the cases below spell it: S the suspend notice, W a wake notice, E the
// settle period's end; - and + meter 0 pulled and plugged, p plugged with no change delivered;
// 1 meter 1 plugged, x meter 1 stops opening; F the user's F3, Q the user quits inside the next
// search.
void Step(FakeDevices& devices, char step) {
  if (step == 'S') ApplySuspend(devices.watch, devices);
  if (step == 'W') ApplyWake(devices.watch, devices);
  if (step == 'E') EndSettlePeriod(devices.watch, devices);
  if (step == '-' || step == '+') devices.Set(0, step == '+');
  if (step == 'p') devices.present[0] = true;
  if (step == '1') devices.Set(1, true);
  if (step == 'x') devices.opens[1] = false;
  if (step == 'F') ChooseAnotherDevice(devices.watch, devices);
  if (step == 'Q') devices.duringSearch = [&devices] { devices.ended = true; };
}

// Meter 0 is linked and present as each case starts; one more settle period's end follows it.
TEST(DeviceWatch, SleepsWakesQuitsAndChoicesTellTheUserOnlyWhatTheyMustKnow) {
  struct Case {
    const char* name;
    const char* steps;
    int32_t linked;
    int links;
    std::vector<N> told;
  } cases[] = {
      {"a sleep: the meter stays", "SW", 0, 0, {}},
      {"notices twice, a late tick too", "SSWWE", 0, 0, {}},
      {"gone in the sleep, back after the wake", "S-W+", 0, 1, {}},
      {"dropped after the wake, back", "SW-+", 0, 1, {}},
      {"back before the wake notice, its old handle dead", "S-pW", 0, 1, {}},
      {"back with no change it could be opened at", "S-Wp", 0, 1, {}},
      {"gone for good: told when the period ends", "S-W", -1, 0, {N::EJECTED}},
      {"another meter comes instead", "S-W1", 1, 1, {N::INSERTED}},
      {"a quit inside a device change's search", "-Q1", -1, 0, {N::EJECTED}},
      {"a quit inside F3's search", "1QF", 0, 0, {}},
      {"a choice that will not open", "1xF", 0, 0, {N::NOT_OPENED}},
  };
  for (const Case& c : cases) {
    FakeDevices devices;
    devices.present[0] = true;
    devices.linked = 0;
    for (const char* step = c.steps; *step; ++step) Step(devices, *step);
    std::vector<N> beforeTheEnd = devices.told;
    EndSettlePeriod(devices.watch, devices);
    EXPECT_EQ(devices.linked, c.linked) << c.name;
    EXPECT_EQ(devices.links, c.links) << c.name;
    EXPECT_EQ(devices.told, c.told) << c.name;
    if (c.linked == -1 && devices.pauses) {
      EXPECT_TRUE(beforeTheEnd.empty()) << c.name << ": told before the period ended";
    }
    EXPECT_LE(devices.pauses, 1) << c.name;
    EXPECT_EQ(devices.resumes, devices.pauses) << c.name;
  }
}

}  // namespace
