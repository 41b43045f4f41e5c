// How long one refresh pass of four frames takes against the virtual meter, next to the floor of
// 144 nibbles with a 100 us pause after each (14.4 ms). Prints min, median and max over the
// passes, checks in the meter's log that every frame arrived whole, and holds the median to at
// most 1.05 times the floor.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "meter/bridge_loader.h"
#include "meter/meter_frame.h"
#include "meter/meter_link.h"
#include "meter/spin_clock.h"
#include "windows/support/meter_log.h"
#include "windows/support/virtual_meter_scenario.h"

namespace {

constexpr int PASSES = 50;
constexpr int FRAMES_PER_PASS = 4;
constexpr double FLOOR_MS = 14.4;
constexpr double GOAL_FLOOR_RATIO = 1.05;

// The four frames of a refresh pass, in its order.
void SendPass(int pass) {
  SendMeterFrame(BuildValueFrame(pass));
  SendMeterFrame(BuildFanThresholdsFrame(40, 60, 2));
  SendMeterFrame(BuildBacklightFrame(1));
  SendMeterFrame(BuildFanFrame(128));
}

double TimePassMs(int pass, int64_t frequency) {
  int64_t start = ReadSpinClock();
  SendPass(pass);
  return static_cast<double>(ReadSpinClock() - start) * 1000.0 / static_cast<double>(frequency);
}

}  // namespace

int main() {
  VirtualMeterScenario scenario;
  scenario.bridges[0].present = true;
  scenario.packetMs = 500;  // the meter's own pace: packets run during the passes, as in use
  if (!scenario.Apply() || !LoadBridgeLibrary("CH341DLL.DLL")) {
    std::fprintf(stderr, "the virtual meter could not be set up in %s\n",
                 scenario.Folder().c_str());
    return 1;
  }
  LinkDevice(0);
  int64_t frequency = ReadSpinClockFrequency();
  SendPass(0);  // warm-up: first-touch costs are not part of a pass
  std::vector<double> passMs;
  for (int pass = 1; pass <= PASSES; ++pass) passMs.push_back(TimePassMs(pass, frequency));
  UnlinkDevice();
  meterLink.deviceIndex = NO_DEVICE;

  const size_t expectedFrames = static_cast<size_t>((PASSES + 1) * FRAMES_PER_PASS);
  MeterLogRecords frames = scenario.Log().WaitForCount(AnyFrame, expectedFrames);
  MeterLogRecords errors =
      Select(scenario.Log().Read(), [](const MeterLogRecord& r) { return r.IsError(); });

  std::sort(passMs.begin(), passMs.end());
  double median = (passMs[PASSES / 2 - 1] + passMs[PASSES / 2]) / 2.0;
  std::printf("frame pass: 4 frames, 144 nibbles, through SendMeterFrame to the virtual meter\n");
  std::printf("passes %d  min %.2f ms  median %.2f ms  max %.2f ms\n", PASSES, passMs.front(),
              median, passMs.back());
  std::printf("median / %.1f ms floor = %.3f\n", FLOOR_MS, median / FLOOR_MS);
  std::printf("frames the meter took: %zu of %zu, anomalies: %zu\n", frames.size(), expectedFrames,
              errors.size());
  bool met = median / FLOOR_MS <= GOAL_FLOOR_RATIO;
  std::printf("goal median <= %.2f x floor: %s\n", GOAL_FLOOR_RATIO, met ? "met" : "missed");
  return frames.size() == expectedFrames && errors.empty() && met ? 0 : 1;
}
