#include "monitor/refresh_worker.h"

#include <cstddef>
#include <cstdio>
#include <cstring>

#include "meter/meter_link.h"
#include "monitor/cpu_usage_sampler.h"
#include "monitor/memory_status.h"
#include "monitor/monitoring.h"
#include "monitor/refresh_pass.h"
#include "settings/settings_records.h"

namespace {

constexpr DWORD WORKER_LEAVE_WAIT_MS = 5000;

static_assert(sizeof(MemoryStatus) == sizeof(MEMORYSTATUSEX) &&
              offsetof(MemoryStatus, totalPhys) == offsetof(MEMORYSTATUSEX, ullTotalPhys) &&
              offsetof(MemoryStatus, availPhys) == offsetof(MEMORYSTATUSEX, ullAvailPhys) &&
              offsetof(MemoryStatus, totalPageFile) == offsetof(MEMORYSTATUSEX, ullTotalPageFile) &&
              offsetof(MemoryStatus, availPageFile) == offsetof(MEMORYSTATUSEX, ullAvailPageFile));

class WindowsRefreshSystem : public RefreshSystem {
 public:
  explicit WindowsRefreshSystem(HWND window) : window(window) {}

  void StopRefreshTimer() override { ::StopRefreshTimer(window); }

  ClockTime ReadLocalTime() override {
    SYSTEMTIME now;
    GetLocalTime(&now);
    return {now.wHour, now.wMinute};
  }

  int32_t TakeCpuSample() override { return SampleCpuUsage(); }

  SpaceFigures QueryDiskSpace(char driveLetter) override {
    char root[8];
    snprintf(root, sizeof root, "%c:\\", driveLetter);
    ULARGE_INTEGER callerFree, total, totalFree;
    if (!GetDiskFreeSpaceExA(root, &callerFree, &total, &totalFree)) return {};
    return {total.QuadPart, totalFree.QuadPart};
  }

  MemoryFigures QueryMemory() override {
    // The Ex form: GlobalMemoryStatus caps every figure at 2 GB for a 32-bit program, which would
    // show any modern PC's RAM as 0 % used.
    MEMORYSTATUSEX status{};
    status.dwLength = sizeof status;
    if (!GlobalMemoryStatusEx(&status)) return {};
    MemoryStatus copy;
    std::memcpy(&copy, &status, sizeof copy);
    return MemoryFiguresOf(copy);
  }

  TemperatureSample ReadTemperature() override {
    int64_t packetMs = meterLink.lastPacketMs.load(std::memory_order_relaxed);
    return {meterLink.temperatureReading.load(std::memory_order_relaxed),
            IsReadingFresh(packetMs, MeterClockMs())};
  }

  bool IsMeterLinked() override {
    return meterLink.deviceIndex.load(std::memory_order_relaxed) != NO_DEVICE;
  }

  void SendFrame(const MeterFrame& frame) override { SendMeterFrame(frame); }

  void StartRefreshTimer() override { ::StartRefreshTimer(window); }

 private:
  HWND window;
};

DWORD WINAPI RefreshWorkerMain(LPVOID parameter) {
  HWND window = static_cast<HWND>(parameter);
  for (;;) {
    WaitForSingleObject(monitoring.passLock, INFINITE);
    bool ended = monitoring.cycleEnded.load(std::memory_order_relaxed);
    if (!ended && !monitoring.cyclePaused.load(std::memory_order_relaxed)) {
      RunWindowsRefreshPass(window);
    }
    ReleaseMutex(monitoring.passLock);
    if (ended) return 0;  // woken by EndRefreshWorker, or by a tick just before the end
    // The pseudo-handle: the UI thread may already have closed the handle it was given.
    SuspendThread(GetCurrentThread());
  }
}

}  // namespace

void RunWindowsRefreshPass(HWND window) {
  WindowsRefreshSystem system(window);
  PassOutcome outcome = RunRefreshPass(system, settings.displayItem, settings.systemControl);
  PackedPassOutcome packed = PackPassOutcome(outcome);
  PostMessageA(window, PASS_OUTCOME_MESSAGE, packed.first, static_cast<LPARAM>(packed.second));
}

HANDLE CreateRefreshWorker(HWND window) {
  monitoring.cycleEnded.store(false, std::memory_order_relaxed);
  if (!monitoring.passLock) monitoring.passLock = CreateMutexA(nullptr, FALSE, nullptr);
  return CreateThread(nullptr, 0, RefreshWorkerMain, window, CREATE_SUSPENDED, nullptr);
}

void StartRefreshTimer(HWND window) {
  SetTimer(window, REFRESH_TIMER_ID, REFRESH_PERIOD_MS, nullptr);
}

void StopRefreshTimer(HWND window) {
  KillTimer(window, REFRESH_TIMER_ID);
}

void EndRefreshCycle(HWND window) {
  RefreshPassHold hold;
  monitoring.cycleEnded.store(true, std::memory_order_relaxed);
  StopRefreshTimer(window);
}

void EndRefreshWorker(HANDLE worker) {
  if (worker) {
    // A resume that lands while the worker is between its last release of the lock and its
    // suspension is lost, so it is repeated until the thread is gone. EndRefreshCycle has waited
    // for the pass already: only a worker stuck in a bridge call takes longer than a moment.
    ULONGLONG deadline = GetTickCount64() + WORKER_LEAVE_WAIT_MS;
    do {
      if (GetTickCount64() >= deadline) return;  // still inside a pass: the lock stays
      ResumeThread(worker);
    } while (WaitForSingleObject(worker, 10) == WAIT_TIMEOUT);
  }
  if (monitoring.passLock) CloseHandle(monitoring.passLock);
  monitoring.passLock = nullptr;
}

void PauseRefreshCycle(HWND window) {
  RefreshPassHold hold;
  monitoring.cyclePaused.store(true, std::memory_order_relaxed);
  StopRefreshTimer(window);  // after the pass: its end re-arms the timer
}

void ResumeRefreshCycle(HWND window) {
  if (monitoring.cycleEnded.load(std::memory_order_relaxed)) return;
  monitoring.cyclePaused.store(false, std::memory_order_relaxed);
  // The first pass at once: the meter has shown the same figure for the whole sleep. The pass
  // re-arms the timer with the full period.
  SetTimer(window, REFRESH_TIMER_ID, USER_TIMER_MINIMUM, nullptr);
}

void ResumeRefreshWorker(HANDLE worker) {
  if (worker) ResumeThread(worker);
}

RefreshPassHold::RefreshPassHold(DWORD timeoutMs) {
  DWORD result = WaitForSingleObject(monitoring.passLock, timeoutMs);
  // An abandoned lock (the worker died inside a pass) is ours all the same.
  acquired = result == WAIT_OBJECT_0 || result == WAIT_ABANDONED;
}

RefreshPassHold::~RefreshPassHold() {
  if (acquired) ReleaseMutex(monitoring.passLock);
}
