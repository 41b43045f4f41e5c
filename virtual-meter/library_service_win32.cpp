#include "virtual-meter/library_service_win32.h"

#include <vector>

#include "virtual-meter/meter_log_lines.h"
#include "virtual-meter/object_census_win32.h"
#include "virtual-meter/scenario.h"
#include "virtual-meter/scenario_source_win32.h"

namespace vmeter {

namespace {

// The file is re-read this often: a change takes effect well within 200 ms.
constexpr int64_t SCENARIO_CHECK_MS = 100;

// Sleeps the whole milliseconds, then spins the rest: Sleep alone cannot wait less than one.
void WaitMicroseconds(uint32_t microseconds, int64_t frequency) {
  if (microseconds == 0) return;
  LARGE_INTEGER start{};
  QueryPerformanceCounter(&start);
  int64_t end = start.QuadPart + frequency * microseconds / 1000000;
  if (microseconds >= 1000) Sleep(microseconds / 1000);
  LARGE_INTEGER now{};
  do {
    QueryPerformanceCounter(&now);
  } while (now.QuadPart < end);
}

int64_t ReadCounter() {
  LARGE_INTEGER counter{};
  QueryPerformanceCounter(&counter);
  return counter.QuadPart;
}

}  // namespace

LibraryService& LibraryService::Instance() {
  static LibraryService& service = *new LibraryService();
  return service;
}

LibraryService::LibraryService() : bridges_([this] { return NowMs(); }) {
  LARGE_INTEGER frequency{};
  QueryPerformanceFrequency(&frequency);
  if (frequency.QuadPart > 0) counterFrequency_ = frequency.QuadPart;
  startCounter_ = ReadCounter();
  wake_ = CreateEventA(nullptr, FALSE, FALSE, nullptr);
}

int64_t LibraryService::NowMs() const {
  return (ReadCounter() - startCounter_) * 1000 / counterFrequency_;
}

void LibraryService::Start(HMODULE module) {
  module_ = module;
  // The thread runs code of this module until the process ends, so FreeLibrary must not unmap it.
  HMODULE pinned = nullptr;
  GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                     reinterpret_cast<LPCSTR>(module), &pinned);
  // Created here but held by the loader lock until DllMain returns; nothing waits for it here.
  HANDLE thread = CreateThread(nullptr, 0, ThreadMain, this, 0, nullptr);
  if (thread) CloseHandle(thread);
}

DWORD WINAPI LibraryService::ThreadMain(void* service) {
  static_cast<LibraryService*>(service)->Run();
  return 0;
}

void LibraryService::EnsureLoaded() {
  // The first call may come before the thread has run: it must already see the scenario.
  std::call_once(loaded_, [this] { CheckScenario(); });
}

void LibraryService::Run() {
  EnsureLoaded();
  int64_t nextCheckMs = NowMs() + SCENARIO_CHECK_MS;
  int64_t nextCensusMs = 0;
  for (;;) {
    if (NowMs() >= nextCheckMs) {
      CheckScenario();
      nextCheckMs = NowMs() + SCENARIO_CHECK_MS;
    }
    int censusMs = Perform([](VirtualBridges& bridges) { return bridges.CensusMs(); });
    if (censusMs > 0 && NowMs() >= nextCensusMs) {
      TakeCensus();
      nextCensusMs = NowMs() + censusMs;
    }
    DeliverPackets();
    WaitForSingleObject(wake_, MillisecondsToNextWork(nextCheckMs));
  }
}

DWORD LibraryService::MillisecondsToNextWork(int64_t nextCheckMs) {
  int64_t next = nextCheckMs;
  {
    std::lock_guard<std::mutex> lock(stateLock_);
    int64_t due = bridges_.NextDeliveryMs();
    if (due >= 0 && due < next) next = due;
  }
  int64_t wait = next - NowMs();
  return wait > 0 ? static_cast<DWORD>(wait) : 0;
}

void LibraryService::CheckScenario() {
  std::string path = FindScenarioPath(module_);
  if (!scenarioWatch_.NeedsRead(ReadScenarioStamp(path))) return;
  std::string text;
  ReadScenarioFile(path, text);  // a missing file is a scenario with no bridge
  if (scenarioRead_ && path == scenarioPath_ && text == scenarioText_) return;
  scenarioRead_ = true;
  scenarioPath_ = path;
  scenarioText_ = text;
  Scenario scenario = ParseScenario(text);
  bool plugChanged = false;
  {
    std::lock_guard<std::mutex> lock(stateLock_);
    log_.Use(ResolveScenarioPath(path, scenario.meter.logPath));
    plugChanged = bridges_.ApplyScenario(scenario, path);
    log_.Append(bridges_.TakeLogLines());
  }
  if (plugChanged) AnnounceDeviceChange();
}

void LibraryService::DeliverPackets() {
  std::lock_guard<std::recursive_mutex> delivering(deliveryLock_);
  std::vector<PacketDelivery> deliveries;
  {
    std::lock_guard<std::mutex> lock(stateLock_);
    deliveries = bridges_.TakeDueDeliveries();
    log_.Append(bridges_.TakeLogLines());
  }
  for (const PacketDelivery& delivery : deliveries) {
    InterruptRoutine routine = reinterpret_cast<InterruptRoutine>(delivery.routine);
    for (uint8_t nibble : delivery.nibbles) routine(nibble);
  }
}

void LibraryService::TakeCensus() {
  // Counted outside the lock: the count takes a while, and the program's calls must not wait.
  ObjectCensus census = CountProcessObjects();
  std::lock_guard<std::mutex> lock(stateLock_);
  log_.Append({FormatCensus(NowMs(), census)});
}

bool LibraryService::WriteData(uint32_t index, const uint8_t* bytes, uint32_t length) {
  uint32_t microseconds = 0;
  bool crash = false;
  bool written = Perform([&](VirtualBridges& bridges) {
    microseconds = bridges.WriteMicroseconds(index);
    bool done = bridges.WriteData(index, bytes, length);
    crash = bridges.TakeCrash();
    return done;
  });
  if (crash) {
    // Outside the lock, as a faulty driver library would fail: a write through a pointer it
    // should never have held. Through a volatile pointer, which the compiler cannot turn into a
    // trap of another kind.
    volatile uint32_t* volatile nowhere = nullptr;
    *nowhere = 0;
  }
  WaitMicroseconds(microseconds, counterFrequency_);
  return written;
}

bool LibraryService::GetStatus(uint32_t index, uint32_t* status) {
  uint32_t microseconds = 0;
  bool read = Perform([&](VirtualBridges& bridges) {
    microseconds = bridges.StatusMicroseconds(index);
    return bridges.GetStatus(index, status);
  });
  WaitMicroseconds(microseconds, counterFrequency_);
  return read;
}

void LibraryService::CloseDevice(uint32_t index) {
  std::lock_guard<std::recursive_mutex> delivering(deliveryLock_);
  Perform([index](VirtualBridges& bridges) {
    bridges.CloseDevice(index);
    return 0;
  });
  Wake();
}

}  // namespace vmeter
