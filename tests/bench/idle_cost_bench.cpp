// What Torvex costs while nothing happens: the real torvex.exe on the virtual meter, first with one
// idle bridge, then with none, its window in the foreground and the cursor away from it. After a
// settle, the CPU time (user + system) Linux counts for the process over a 30 s window, as a share
// of one core, next to the floor of the frames' 100 us spins; and the wineserver's share over the
// same window, since every call the program makes into the server is paid there. Figures come from
// /proc, read through Wine's Z: drive, so wall-clock time and other programs do not count.
#include <windows.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "meter/meter_frame.h"
#include "windows/support/condition_wait.h"
#include "windows/support/settings_key.h"
#include "windows/support/torvex_process.h"
#include "windows/support/user_input.h"
#include "windows/support/virtual_meter_scenario.h"

namespace {

constexpr DWORD SETTLE_MS = 6000;
constexpr DWORD WINDOW_MS = 30000;
constexpr double CLOCK_TICKS_PER_SECOND = 100.0;   // Linux's USER_HZ, the unit of /proc/*/stat
constexpr double SPIN_MS_PER_PASS = 4 * 36 * 0.1;  // 4 frames of 36 nibbles, 100 us after each
constexpr double NOMINAL_FLOOR_PERCENT = 100.0 * SPIN_MS_PER_PASS / 800.0;
constexpr double GOAL_FLOOR_RATIO = 1.2;
constexpr double GOAL_NO_METER_PERCENT = 0.3;

std::string ReadProcFile(int pid, const char* name) {
  std::ifstream file("Z:\\proc\\" + std::to_string(pid) + "\\" + name, std::ios::binary);
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
}

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

// User + system clock ticks from a stat line: fields 14 and 15, counted after the command name,
// which may hold spaces and parentheses of its own.
std::optional<long long> CpuTicksOf(const std::string& stat) {
  size_t nameEnd = stat.rfind(')');
  if (nameEnd == std::string::npos) return std::nullopt;
  std::istringstream fields(stat.substr(nameEnd + 1));
  std::string field;
  long long user = 0, system = 0;
  for (int number = 3; number <= 15 && fields >> field; ++number) {
    if (number == 14) user = std::stoll(field);
    if (number == 15) system = std::stoll(field);
  }
  if (!fields) return std::nullopt;
  return user + system;
}

std::optional<long long> ProcessCpuTicks(int pid) {
  return CpuTicksOf(ReadProcFile(pid, "stat"));
}

std::vector<int> LinuxProcessIds() {
  std::vector<int> ids;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA("Z:\\proc\\*", &found);
  if (search == INVALID_HANDLE_VALUE) return ids;
  do {
    std::string name = found.cFileName;
    if (!name.empty() && std::all_of(name.begin(), name.end(), ::isdigit))
      ids.push_back(std::stoi(name));
  } while (FindNextFileA(search, &found));
  FindClose(search);
  return ids;
}

// The Linux process whose command line contains `text` (any case) and that runs in our prefix:
// other engineers' Wine prefixes run programs of the same names on this machine.
int FindLinuxProcess(const std::string& text) {
  char prefix[MAX_PATH] = {};
  GetEnvironmentVariableA("WINEPREFIX", prefix, sizeof prefix);
  // The environment is a run of NUL-ended entries.
  std::string ownPrefix = std::string("WINEPREFIX=") + prefix + '\0';
  for (int pid : LinuxProcessIds()) {
    if (Lower(ReadProcFile(pid, "cmdline")).find(Lower(text)) == std::string::npos) continue;
    std::string environment = '\0' + ReadProcFile(pid, "environ");
    if (environment.find('\0' + ownPrefix) != std::string::npos) return pid;
  }
  return 0;
}

std::string LoadAverage() {
  std::ifstream file("Z:\\proc\\loadavg");
  std::string one, five, fifteen;
  file >> one >> five >> fifteen;
  return one + " " + five + " " + fifteen;
}

// Per Linux thread of the process: CPU ticks by thread id; the thread whose id is the process's
// is the main thread, Torvex's UI thread.
std::vector<std::pair<int, long long>> ThreadCpuTicks(int pid) {
  std::vector<std::pair<int, long long>> threads;
  WIN32_FIND_DATAA found;
  std::string tasks = "Z:\\proc\\" + std::to_string(pid) + "\\task";
  HANDLE search = FindFirstFileA((tasks + "\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return threads;
  do {
    std::string name = found.cFileName;
    if (name.empty() || !std::all_of(name.begin(), name.end(), ::isdigit)) continue;
    std::ifstream file(tasks + "\\" + name + "\\stat", std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    if (std::optional<long long> ticks = CpuTicksOf(text.str()))
      threads.emplace_back(std::stoi(name), *ticks);
  } while (FindNextFileA(search, &found));
  FindClose(search);
  return threads;
}

long long TicksOfThread(const std::vector<std::pair<int, long long>>& threads, int tid) {
  for (const auto& thread : threads)
    if (thread.first == tid) return thread.second;
  return 0;
}

double Percent(long long ticks, double wallMs) {
  return 100.0 * (static_cast<double>(ticks) / CLOCK_TICKS_PER_SECOND * 1000.0) / wallMs;
}

double NowMs() {
  LARGE_INTEGER frequency, now;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&now);
  return static_cast<double>(now.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

size_t CountPasses(const MeterLog& log) {
  // Each pass ends with the fan frame.
  return Select(log.Read(), [](const MeterLogRecord& r) { return r.IsFrame() && r.cmd == CMD_FAN; })
      .size();
}

struct CaseResult {
  bool measured = false;
  double percent = 0;
  double floorPercent = 0;
};

// Starts Torvex on a scenario of one idle bridge or none and measures it; prints its figures.
CaseResult MeasureCase(bool withMeter) {
  const char* name = withMeter ? "one idle meter linked" : "no meter";
  CaseResult result;
  DeleteSettingsKey();
  VirtualMeterScenario scenario;
  scenario.bridges[0].present = withMeter;
  scenario.packetMs = 500;  // the meter's own pace, as in use
  TorvexProcess torvex(withMeter ? "IdleCost.WithMeter" : "IdleCost.NoMeter");
  if (!scenario.Apply() || !torvex.Start(scenario.IniPath())) {
    std::fprintf(stderr, "%s: torvex.exe did not start\n", name);
    return result;
  }
  if (!withMeter) {
    HWND box = nullptr;
    torvex.WaitForMessageBox(&box);
    if (box) PostMessageA(box, WM_COMMAND, IDOK, 0);  // "Not Found Velquin Torvex!"
  }
  HWND window = torvex.MainWindow();
  int pid = FindLinuxProcess(torvex.Folder() + "\\torvex.exe");
  int server = FindLinuxProcess("wineserver");
  if (!window || !BringToForeground(window) || pid == 0 || server == 0) {
    std::fprintf(stderr, "%s: no main window in the foreground, or no Linux process found\n", name);
    torvex.Quit();
    return result;
  }
  RECT area{};
  GetWindowRect(window, &area);
  POINT away = {std::min<LONG>(area.right + 80, GetSystemMetrics(SM_CXSCREEN) - 20),
                std::min<LONG>(area.bottom + 80, GetSystemMetrics(SM_CYSCREEN) - 80)};
  SendMouseAt(away, 0);
  Sleep(SETTLE_MS);

  std::string loadBefore = LoadAverage();
  std::optional<long long> processBefore = ProcessCpuTicks(pid);
  std::optional<long long> serverBefore = ProcessCpuTicks(server);
  std::vector<std::pair<int, long long>> threadsBefore = ThreadCpuTicks(pid);
  size_t passesBefore = CountPasses(scenario.Log());
  double startMs = NowMs();
  Sleep(WINDOW_MS);
  std::optional<long long> processAfter = ProcessCpuTicks(pid);
  std::optional<long long> serverAfter = ProcessCpuTicks(server);
  std::vector<std::pair<int, long long>> threadsAfter = ThreadCpuTicks(pid);
  double wallMs = NowMs() - startMs;
  size_t passes = CountPasses(scenario.Log()) - passesBefore;
  bool stayedInFront = GetForegroundWindow() == window;
  std::string loadAfter = LoadAverage();
  torvex.Quit();
  DeleteSettingsKey();
  if (!processBefore || !processAfter || !serverBefore || !serverAfter) {
    std::fprintf(stderr, "%s: /proc could not be read\n", name);
    return result;
  }

  result.measured = true;
  result.percent = Percent(*processAfter - *processBefore, wallMs);
  result.floorPercent = 100.0 * static_cast<double>(passes) * SPIN_MS_PER_PASS / wallMs;
  std::printf("%s: torvex.exe %.2f %% of a core over %.1f s", name, result.percent,
              wallMs / 1000.0);
  if (withMeter) {
    std::printf(", %zu passes, spin floor %.2f %% (nominal %.2f %%), ratio %.2f", passes,
                result.floorPercent, NOMINAL_FLOOR_PERCENT, result.percent / result.floorPercent);
  }
  // Linux numbers threads in the order they start: the UI thread, the virtual meter's own, the
  // refresh worker, then any the system starts.
  std::sort(threadsAfter.begin(), threadsAfter.end());
  std::printf("\n  by thread, in start order (the first is the UI thread):");
  for (const auto& thread : threadsAfter) {
    long long ticks = thread.second - TicksOfThread(threadsBefore, thread.first);
    std::printf(" %.2f %%", Percent(ticks, wallMs));
  }
  std::printf("\n  wineserver %.2f %%\n", Percent(*serverAfter - *serverBefore, wallMs));
  std::printf("  load average before %s, after %s%s\n", loadBefore.c_str(), loadAfter.c_str(),
              stayedInFront ? "" : "; the window lost the foreground meanwhile");
  result.measured = stayedInFront;
  return result;
}

}  // namespace

int main() {
  std::printf("idle cost: window in front, cursor away, %lu s settle, %lu s measured\n",
              SETTLE_MS / 1000, WINDOW_MS / 1000);
  CaseResult meter = MeasureCase(true);
  CaseResult none = MeasureCase(false);
  bool meterMet = meter.measured && meter.floorPercent > 0 &&
                  meter.percent <= GOAL_FLOOR_RATIO * meter.floorPercent;
  bool noneMet = none.measured && none.percent <= GOAL_NO_METER_PERCENT;
  std::printf("goal with a meter <= %.2f x floor: %s\n", GOAL_FLOOR_RATIO,
              meterMet ? "met" : "missed");
  std::printf("goal without a meter <= %.2f %%: %s\n", GOAL_NO_METER_PERCENT,
              noneMet ? "met" : "missed");
  return meterMet && noneMet ? 0 : 1;
}
