#pragma once
// A scriptable stand-in for the bridge library: records every call, answers from a table of
// bridges. Install it with FakeBridge::Install(); it replaces the library for the whole process.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "meter/bridge_library.h"

struct FakeBridgeCall {
  std::string function;
  uint32_t index;
  uint32_t argument;  // exclusive flag, written byte, the status word handed in, or 0
};

struct FakeBridgeDevice {
  bool opens = false;              // CH341OpenDevice succeeds
  int failingOpens = 0;            // the first this many opens fail all the same
  bool statusReads = false;        // CH341GetStatus succeeds
  uint32_t status = 0x0200;        // the word it reports
  bool statusFailsAnyway = false;  // a read that fills the word still returns 0
};

struct FakeBridge {
  static FakeBridge& Instance();
  static void Install();  // resets the fake and installs it as the bridge library

  void Reset();

  FakeBridgeDevice devices[16];
  std::vector<FakeBridgeCall> calls;
  std::vector<uint8_t> writtenBytes;
  std::vector<uint32_t> writtenIndices;
  BridgeInterruptRoutine routine = nullptr;
  bool writesFail = false;  // every write is recorded and refused
  // Runs after every recorded write, for tests that change the link mid-frame.
  std::function<void(size_t writeCount)> afterWrite;

  int CountCalls(const std::string& function) const;
};
