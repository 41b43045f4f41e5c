// The refresh cycle against the virtual meter: the duration of one pass (the CPU sample, the
// figure and the four frames), then the RefreshWorker woken by a window's 800 ms RefreshTimer as
// in the program, with the CPU time it takes per minute and the part outside the 100 us spins.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "meter/bridge_loader.h"
#include "meter/meter_link.h"
#include "meter/spin_clock.h"
#include "monitor/refresh_rules.h"
#include "monitor/refresh_worker.h"
#include "settings/settings_records.h"
#include "settings/stored_values.h"
#include "windows/support/condition_wait.h"
#include "windows/support/meter_log.h"
#include "windows/support/test_window.h"
#include "windows/support/virtual_meter_scenario.h"

namespace {

constexpr DWORD RUN_MS = 30000;
constexpr int TIMED_PASSES = 30;
constexpr double SPIN_MS_PER_PASS = 144 * 0.1;  // 144 nibbles, 100 us after each

HANDLE worker = nullptr;

LRESULT CALLBACK BenchWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_TIMER) ResumeRefreshWorker(worker);
  return DefWindowProcA(window, message, wParam, lParam);
}

double Milliseconds(const FILETIME& time) {
  ULARGE_INTEGER value;
  value.LowPart = time.dwLowDateTime;
  value.HighPart = time.dwHighDateTime;
  return static_cast<double>(value.QuadPart) / 10000.0;
}

double ProcessCpuMs() {
  FILETIME created, ended, kernel, user;
  GetProcessTimes(GetCurrentProcess(), &created, &ended, &kernel, &user);
  return Milliseconds(kernel) + Milliseconds(user);
}

double ThreadCpuMs(HANDLE thread) {
  FILETIME created, ended, kernel, user;
  GetThreadTimes(thread, &created, &ended, &kernel, &user);
  return Milliseconds(kernel) + Milliseconds(user);
}

std::vector<double> TimePassesMs(HWND window) {
  int64_t frequency = ReadSpinClockFrequency();
  std::vector<double> durations;
  for (int pass = 0; pass < TIMED_PASSES; ++pass) {
    int64_t start = ReadSpinClock();
    RunWindowsRefreshPass(window);
    durations.push_back(static_cast<double>(ReadSpinClock() - start) * 1000.0 /
                        static_cast<double>(frequency));
  }
  StopRefreshTimer(window);
  std::sort(durations.begin(), durations.end());
  return durations;
}

}  // namespace

int main() {
  VirtualMeterScenario scenario;
  scenario.bridges[0].present = true;
  scenario.packetMs = 500;
  HWND window = CreateTestWindow("RefreshCycleBench", BenchWindowProc);
  if (!window || !scenario.Apply() || !LoadBridgeLibrary("CH341DLL.DLL")) {
    std::fprintf(stderr, "the bench could not be set up in %s\n", scenario.Folder().c_str());
    return 1;
  }
  settings.displayItem = DefaultDisplayItemRecord();
  settings.displayItem.itemType = ITEM_CPU_USAGE;
  settings.systemControl = DefaultSystemControlRecord();
  LinkDevice(0);
  RunWindowsRefreshPass(window);  // the sampler's first call sets up its buffer
  std::vector<double> passes = TimePassesMs(window);
  HANDLE thread = CreateRefreshWorker(window);
  if (!thread) return 1;
  DuplicateHandle(GetCurrentProcess(), thread, GetCurrentProcess(), &worker, 0, FALSE,
                  DUPLICATE_SAME_ACCESS);

  double processBefore = ProcessCpuMs();
  StartRefreshTimer(window);
  WaitUntil([] { return false; }, RUN_MS, 5);  // pumps the timer; a fine poll keeps it on time
  {
    RefreshPassHold hold;
    StopRefreshTimer(window);
  }
  double processCpu = ProcessCpuMs() - processBefore;
  double workerCpu = ThreadCpuMs(thread);

  size_t timerPasses =
      Select(scenario.Log().Read(), [](const MeterLogRecord& r) { return r.cmd == CMD_FAN; })
          .size() -
      (TIMED_PASSES + 1);
  double perMinute = 60000.0 / RUN_MS;
  double spinCpu = timerPasses * SPIN_MS_PER_PASS;
  std::printf(
      "pass duration over %d passes: min %.1f ms, median %.1f ms, max %.1f ms "
      "(frames alone: at least %.1f ms)\n",
      TIMED_PASSES, passes.front(), passes[passes.size() / 2], passes.back(), SPIN_MS_PER_PASS);
  std::printf("timer-driven passes: %zu in %.0f s\n", timerPasses, RUN_MS / 1000.0);
  std::printf("CPU per minute: process %.0f ms, refresh worker %.0f ms\n", processCpu * perMinute,
              workerCpu * perMinute);
  std::printf("refresh worker CPU per minute outside the spins: %.0f ms\n",
              std::max(0.0, workerCpu - spinCpu) * perMinute);
  std::printf("rest of the process (virtual meter threads, window) per minute: %.0f ms\n",
              std::max(0.0, processCpu - workerCpu) * perMinute);
  UnlinkDevice();
  return 0;
}
