// `make soak`: torvex.exe under a hot-plug storm and a restless user (soak/soak_world.h) for
// SOAK_MINUTES (default 2), or for SOAK_CYCLES plug cycles of the first meter when that is set.
// Every write and status read takes a millisecond, as a USB round trip does. The virtual meter
// counts the program's handles, GDI and USER objects and memory from inside it every few seconds.
// Fails when the program dies or stops answering, when a count grows beyond its bound after the
// warm-up, when the program writes to a bridge it has found gone, when a frame reaches a meter
// broken, or when the program's event log passes its bound or misses a link or a release the
// library saw. Prints a table of the samples at the end.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "log/log_rotation.h"
#include "soak/soak_log.h"
#include "soak/soak_world.h"
#include "windows/support/responsiveness_watch.h"
#include "windows/support/settings_key.h"
#include "windows/support/torvex_log.h"

namespace {

constexpr int CENSUS_MS = 5000;
constexpr uint32_t USB_ROUND_TRIP_US = 1000;
constexpr int TABLE_ROWS = 12;

struct Metric {
  const char* name;
  int64_t CensusSample::*field;
  int64_t bound;  // the growth allowed after the warm-up; 0: shown, not judged
};

// A dialog or a box open at a sample holds a few objects: the bounds leave room for that, far
// below what a leak of one object per cycle or per action would make of a run.
const Metric METRICS[] = {
    {"handles", &CensusSample::handles, 16},
    {"GDI objects", &CensusSample::gdi, 16},
    {"USER objects", &CensusSample::user, 8},
    {"private KB", &CensusSample::privateKb, 4096},
    {"working set KB", &CensusSample::workingSetKb, 0},
};

int EnvironmentNumber(const char* name, int fallback) {
  const char* text = std::getenv(name);
  return text && *text ? std::atoi(text) : fallback;
}

void Fail(const std::string& why) {
  ADD_FAILURE() << why;  // also keeps the scenario folder and the meter's log
}

int64_t Floor(const std::vector<CensusSample>& samples, size_t from, size_t to,
              int64_t CensusSample::*field) {
  int64_t floor = INT64_MAX;
  for (size_t i = from; i < to; ++i) floor = std::min(floor, samples[i].*field);
  return floor;
}

void PrintTable(const std::vector<CensusSample>& samples) {
  std::printf("\n%8s %8s %8s %8s %11s %15s\n", "t (s)", "handles", "GDI", "USER", "private KB",
              "working set KB");
  size_t count = samples.size();
  for (int row = 0; row < TABLE_ROWS && count > 0; ++row) {
    size_t i = count == 1 ? 0 : row * (count - 1) / (TABLE_ROWS - 1);
    const CensusSample& s = samples[i];
    std::printf("%8lld %8lld %8lld %8lld %11lld %15lld\n", static_cast<long long>(s.tMs / 1000),
                static_cast<long long>(s.handles), static_cast<long long>(s.gdi),
                static_cast<long long>(s.user), static_cast<long long>(s.privateKb),
                static_cast<long long>(s.workingSetKb));
    if (count < static_cast<size_t>(TABLE_ROWS) && i + 1 >= count) break;
  }
}

// The floor of each count early after the warm-up against its floor at the end: a leak raises
// the floor, while objects a dialog holds for a moment do not. The warm-up ends with sample
// `first`, the first taken after every action had been done once.
void JudgeGrowth(const std::vector<CensusSample>& samples, size_t first) {
  if (samples.size() < first + 6) {
    Fail("too few samples after the warm-up to judge: " +
         std::to_string(samples.size() - std::min(first, samples.size())));
    return;
  }
  size_t third = (samples.size() - first) / 3;
  std::printf("\nafter the warm-up (%lld s), floor of the first third against the last third:\n",
              static_cast<long long>((samples[first].tMs - samples.front().tMs) / 1000));
  for (const Metric& metric : METRICS) {
    int64_t early = Floor(samples, first, first + third, metric.field);
    int64_t late = Floor(samples, samples.size() - third, samples.size(), metric.field);
    std::printf("  %-15s %8lld -> %8lld  (%+lld", metric.name, static_cast<long long>(early),
                static_cast<long long>(late), static_cast<long long>(late - early));
    if (metric.bound == 0) {
      std::printf(", not judged)\n");
      continue;
    }
    bool within = late - early <= metric.bound;
    std::printf(", bound %+lld) %s\n", static_cast<long long>(metric.bound),
                within ? "ok" : "GREW");
    if (!within) Fail(std::string(metric.name) + " grew beyond its bound");
  }
}

void ListFaults(const char* what, const std::vector<std::string>& lines) {
  std::printf("%s: %zu\n", what, lines.size());
  for (size_t i = 0; i < lines.size() && i < 5; ++i) std::printf("  %s\n", lines[i].c_str());
  if (!lines.empty()) Fail(what);
}

// The event log stays within its bound and, while it has not been moved aside, holds every link
// and release the library saw.
void JudgeEventLog(const std::string& folder, const SoakLog& log) {
  TorvexLog current(folder), old(folder, "torvex.old.log");
  std::vector<std::string> events = current.Events();
  auto count = [&](const char* text) {
    return std::count_if(events.begin(), events.end(),
                         [&](const std::string& event) { return event.find(text) == 0; });
  };
  long links = count("Linked device "), releases = count("Released device ");
  std::printf(
      "\nevent log: %llu bytes (moved aside: %llu); %ld links and %ld releases logged, "
      "%d and %d seen by the library\n",
      static_cast<unsigned long long>(current.Size()), static_cast<unsigned long long>(old.Size()),
      links, releases, log.Links(), log.Releases());
  if (current.Size() > LOG_ROTATE_BYTES || old.Size() > LOG_ROTATE_BYTES) {
    Fail("the event log grew beyond its bound");
  }
  if (old.Size() == 0 && (links != log.Links() || releases != log.Releases())) {
    Fail("the event log misses links or releases");
  }
}

}  // namespace

int main() {
  int minutes = EnvironmentNumber("SOAK_MINUTES", 2);
  int cycles = EnvironmentNumber("SOAK_CYCLES", 0);
  uint32_t seed = static_cast<uint32_t>(EnvironmentNumber("SOAK_SEED", GetTickCount() & 0xFFFF));
  if (cycles > 0) {
    std::printf("soak: %d plug cycles, seed %u\n", cycles, seed);
  } else {
    std::printf("soak: %d minutes, seed %u\n", minutes, seed);
  }
  std::fflush(stdout);

  DeleteSettingsKey();
  VirtualMeterScenario scenario;
  scenario.bridges[0].present = true;
  for (VirtualBridgeSetup& bridge : scenario.bridges) {
    bridge.writeMicroseconds = USB_ROUND_TRIP_US;
    bridge.statusMicroseconds = USB_ROUND_TRIP_US;
  }
  scenario.packetMs = 500;
  scenario.censusMs = CENSUS_MS;
  TorvexProcess torvex("soak");
  HWND window = nullptr;
  if (scenario.Apply() && torvex.Start(scenario.IniPath())) window = torvex.MainWindow();
  if (!window) {
    Fail("torvex.exe did not start");
    return 1;
  }

  SoakLog log(scenario.Log().Path());
  ULONGLONG started = GetTickCount64();
  ULONGLONG nextReport = started + 60000;
  auto done = [&] {
    if (cycles > 0) return log.Cycles() >= cycles;
    return GetTickCount64() - started >= static_cast<ULONGLONG>(minutes) * 60000;
  };
  size_t firstJudged = 0;  // the first sample after the warm-up
  int answered = 0;
  int unanswered = 0;
  DWORD slowest = 0;
  {
    ResponsivenessWatch watch(window);
    SoakWorld world(torvex, window, scenario, seed);
    std::mt19937 idle(seed + 1);
    world.ActEachOnce();
    log.Update();
    firstJudged = log.Samples().size() + 1;  // the sample being taken may still see a dialog
    while (!done() && torvex.IsRunning()) {
      world.Pause(std::uniform_int_distribution<int>(1000, 6000)(idle));
      world.Act();
      log.Update();
      if (GetTickCount64() >= nextReport) {
        nextReport += 60000;
        std::printf("  %3llu min: %d cycles, %lld frames, %zu samples\n",
                    (GetTickCount64() - started) / 60000, log.Cycles(),
                    static_cast<long long>(log.Frames()), log.Samples().size());
        std::fflush(stdout);
      }
    }
    if (torvex.IsRunning() && !world.Settle()) Fail("a box, dialog or menu stayed open");
    answered = watch.Answered();
    unanswered = watch.Unanswered();
    slowest = watch.SlowestMs();
    std::printf("\n%d plug toggles asked for; the user's actions:\n", world.Toggles());
    for (const auto& [name, count] : world.ActionCounts())
      std::printf("  %4d  %s\n", count, name.c_str());
  }
  ULONGLONG ranMs = GetTickCount64() - started;

  bool alive = torvex.IsRunning();
  std::optional<DWORD> exitCode = alive ? torvex.Quit() : torvex.WaitForExit(0);
  Sleep(CENSUS_MS / 5);
  log.Update();
  PrintTable(log.Samples());
  JudgeGrowth(log.Samples(), firstJudged);

  std::printf(
      "\nran %llu s: %d plug cycles, %d removals seen by the program, %lld frames, "
      "%lld lost writes\n",
      ranMs / 1000, log.Cycles(), log.RemovalsSeen(), static_cast<long long>(log.Frames()),
      static_cast<long long>(log.LostWrites()));
  std::printf("window answers: %d, unanswered within a second: %d, slowest %lu ms\n", answered,
              unanswered, static_cast<unsigned long>(slowest));
  if (!alive) Fail("torvex.exe died, exit code " + std::to_string(exitCode.value_or(0xFFFFFFFF)));
  if (unanswered > 0) Fail("the window stopped answering");
  if (alive && exitCode != 1u) Fail("quitting did not end with exit code 1");
  ListFaults("writes to a bridge after the program found it gone", log.WritesAfterRemovalSeen());
  ListFaults("frames that reached a meter broken", log.BrokenFrames());
  JudgeEventLog(torvex.LogFolder(), log);
  bool passed = !::testing::Test::HasFailure();
  std::printf("\nsoak %s\n", passed ? "passed" : "FAILED");
  return passed ? 0 : 1;
}
