#pragma once
// Builds performance-data blocks the way the system lays them out: a PERF_DATA_BLOCK header, then
// objects, each with its counter definitions and either one counter block or instances with
// UTF-16 names and a counter block each. Every counter is 8 bytes; counter i sits at 8 + 8 * i in
// its counter block.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "monitor/performance_data.h"

constexpr size_t PERF_BLOCK_HEADER_BYTES = 88;
constexpr size_t PERF_OBJECT_HEADER_BYTES = 64;
constexpr size_t PERF_COUNTER_DEFINITION_BYTES = 40;

struct PerfInstanceLayout {
  std::u16string name;
  std::vector<int64_t> values;  // one per counter of the object
};

struct PerfObjectLayout {
  uint32_t titleIndex = 0;
  std::vector<uint32_t> counterIndices;
  std::vector<int64_t> values;                // the counter block when there are no instances
  std::vector<PerfInstanceLayout> instances;  // empty: NumInstances is -1 (PERF_NO_INSTANCES)
};

struct PerfBlock {
  std::vector<uint8_t> bytes;
  std::vector<size_t> objectOffsets;  // where each object starts

  PerfDataView View() const { return {bytes.data(), bytes.size()}; }
  void PutU32(size_t at, uint32_t value);
};

class PerfBlockBuilder {
 public:
  PerfBlockBuilder& PerfTime100nSec(int64_t time);
  PerfBlockBuilder& AddObject(PerfObjectLayout object);
  PerfBlock Build() const;

 private:
  int64_t perfTime100nSec = 0;
  std::vector<PerfObjectLayout> objects;
};
