#pragma once
// The running virtual library: the emulated bridges behind one lock, the log file, and the
// library's own thread that watches the scenario file and calls the program's interrupt routines.
#include <windows.h>

#include <mutex>
#include <string>
#include <utility>

#include "virtual-meter/device_change_win32.h"
#include "virtual-meter/log_file_win32.h"
#include "virtual-meter/scenario_watch.h"
#include "virtual-meter/virtual_bridges.h"

namespace vmeter {

// The program's interrupt routine, as CH341SetIntRoutine receives it.
using InterruptRoutine = VOID(CALLBACK*)(ULONG);

class LibraryService {
 public:
  // One per process, made when the library is attached and never destroyed: its thread runs until
  // the process ends, and at that point no destructor may wait for it.
  static LibraryService& Instance();

  // From DllMain: keeps the module loaded for good and starts the library's thread.
  void Start(HMODULE module);

  // Runs one library call on the bridges under the lock and writes what it logged. A bridge the
  // call pulled out is announced once the lock is released.
  template <typename Call>
  auto Perform(Call call) {
    EnsureLoaded();
    bool plugChanged = false;
    auto result = [&] {
      std::lock_guard<std::mutex> lock(stateLock_);
      auto answer = call(bridges_);
      log_.Append(bridges_.TakeLogLines());
      plugChanged = bridges_.TakePlugChange();
      return answer;
    }();
    if (plugChanged) AnnounceDeviceChange();
    return result;
  }

  // CH341EppWriteData: the write, then the time the bridge's scenario says it takes, spent
  // outside the lock as a caller waits for a USB round trip. The scenario's crash_after-th write
  // raises an access violation here instead.
  bool WriteData(uint32_t index, const uint8_t* bytes, uint32_t length);
  // CH341GetStatus: the read, then the time the scenario says it takes, as for a write.
  bool GetStatus(uint32_t index, uint32_t* status);

  // Closing waits for a packet being handed over, so no routine is called after it returns.
  void CloseDevice(uint32_t index);

  // A call may have started or stopped a bridge's packets: reschedule now.
  void Wake() { SetEvent(wake_); }

 private:
  LibraryService();

  static DWORD WINAPI ThreadMain(void*);
  void Run();
  void EnsureLoaded();
  void CheckScenario();
  void DeliverPackets();
  void TakeCensus();
  DWORD MillisecondsToNextWork(int64_t nextCheckMs);
  int64_t NowMs() const;

  HMODULE module_ = nullptr;
  int64_t startCounter_ = 0;
  int64_t counterFrequency_ = 1;
  HANDLE wake_ = nullptr;
  std::once_flag loaded_;

  // Guards the bridges and the log. Never held while a routine of the program runs.
  std::mutex stateLock_;
  VirtualBridges bridges_;
  LogFile log_;
  // Held while packets are handed over; recursive, so a routine may call back into the library.
  std::recursive_mutex deliveryLock_;

  // The scenario as last read; touched by the first loader and then by the thread alone.
  ScenarioWatch scenarioWatch_;
  std::string scenarioPath_;
  std::string scenarioText_;
  bool scenarioRead_ = false;
};

}  // namespace vmeter
