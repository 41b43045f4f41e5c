#pragma once
// Reading a counter out of the system's performance-data block (PERF_DATA_BLOCK, its objects,
// counter definitions, instances and counter blocks), read as a little-endian byte buffer. Every
// length and offset in the block is checked against the buffer before it is followed: a damaged or
// cut-short block reads as one that lacks the counter.
#include <cstddef>
#include <cstdint>

#include "monitor/ansi_code_page.h"

// The raw value of a counter, object or instance that is not in the block.
constexpr int64_t NOT_FOUND_VALUE = -1;

struct PerfDataView {
  const uint8_t* bytes = nullptr;
  size_t size = 0;
};

struct CounterReading {
  bool found = false;  // the object, the counter and (where wanted) the instance are all present
  int64_t raw = 0;  // 0 when the object is missing, NOT_FOUND_VALUE when the counter or instance is
};

// The raw value of counter `counterIndex` in the object that starts `objectAt` bytes into the
// block; of its instance named `instanceName` when the object has instances. Instance names are
// compared in the ANSI code page, ignoring the case of ASCII letters only.
int64_t FindCounterValue(PerfDataView block, uint64_t objectAt, uint32_t counterIndex,
                         const char* instanceName, const AnsiCodePage& codePage);

// Finds the first object with title index `objectIndex` and reads the counter from it.
CounterReading FindObjectCounterValue(PerfDataView block, uint32_t objectIndex,
                                      uint32_t counterIndex, const char* instanceName,
                                      const AnsiCodePage& codePage);

// The block's timestamp in 100 ns units; 0 when the header is cut short.
int64_t ReadPerfTime100nSec(PerfDataView block);
