#include "support/perf_block_builder.h"

#include <utility>

namespace {

constexpr size_t INSTANCE_HEADER_BYTES = 24;

void PutLittleEndian(std::vector<uint8_t>& bytes, size_t at, uint64_t value, int count) {
  for (int i = 0; i < count; ++i) bytes[at + i] = static_cast<uint8_t>(value >> (8 * i));
}

void AppendZeros(std::vector<uint8_t>& bytes, size_t count) {
  bytes.resize(bytes.size() + count);
}

size_t RoundUpTo8(size_t n) {
  return (n + 7) / 8 * 8;
}

void AppendCounterBlock(std::vector<uint8_t>& bytes, const std::vector<int64_t>& values) {
  size_t at = bytes.size();
  size_t length = 8 + 8 * values.size();
  AppendZeros(bytes, length);
  PutLittleEndian(bytes, at, length, 4);
  for (size_t i = 0; i < values.size(); ++i)
    PutLittleEndian(bytes, at + 8 + 8 * i, static_cast<uint64_t>(values[i]), 8);
}

void AppendInstance(std::vector<uint8_t>& bytes, const PerfInstanceLayout& instance) {
  size_t at = bytes.size();
  size_t nameBytes = 2 * (instance.name.size() + 1);
  size_t length = INSTANCE_HEADER_BYTES + RoundUpTo8(nameBytes);
  AppendZeros(bytes, length);
  PutLittleEndian(bytes, at, length, 4);
  PutLittleEndian(bytes, at + 16, INSTANCE_HEADER_BYTES, 4);  // NameOffset
  PutLittleEndian(bytes, at + 20, nameBytes, 4);              // NameLength
  for (size_t i = 0; i < instance.name.size(); ++i)
    PutLittleEndian(bytes, at + INSTANCE_HEADER_BYTES + 2 * i, instance.name[i], 2);
  AppendCounterBlock(bytes, instance.values);
}

void AppendObject(std::vector<uint8_t>& bytes, const PerfObjectLayout& object) {
  size_t at = bytes.size();
  size_t counters = object.counterIndices.size();
  size_t definitionLength = PERF_OBJECT_HEADER_BYTES + counters * PERF_COUNTER_DEFINITION_BYTES;
  AppendZeros(bytes, definitionLength);
  PutLittleEndian(bytes, at + 4, definitionLength, 4);
  PutLittleEndian(bytes, at + 8, PERF_OBJECT_HEADER_BYTES, 4);
  PutLittleEndian(bytes, at + 12, object.titleIndex, 4);
  PutLittleEndian(bytes, at + 32, counters, 4);
  for (size_t i = 0; i < counters; ++i) {
    size_t definition = at + PERF_OBJECT_HEADER_BYTES + i * PERF_COUNTER_DEFINITION_BYTES;
    PutLittleEndian(bytes, definition, PERF_COUNTER_DEFINITION_BYTES, 4);
    PutLittleEndian(bytes, definition + 4, object.counterIndices[i], 4);
    PutLittleEndian(bytes, definition + 32, 8, 4);          // CounterSize
    PutLittleEndian(bytes, definition + 36, 8 + 8 * i, 4);  // CounterOffset
  }
  if (object.instances.empty()) {
    PutLittleEndian(bytes, at + 40, 0xFFFFFFFF, 4);  // PERF_NO_INSTANCES
    AppendCounterBlock(bytes, object.values);
  } else {
    PutLittleEndian(bytes, at + 40, object.instances.size(), 4);
    for (const PerfInstanceLayout& instance : object.instances) AppendInstance(bytes, instance);
  }
  PutLittleEndian(bytes, at, bytes.size() - at, 4);  // TotalByteLength
}

}  // namespace

void PerfBlock::PutU32(size_t at, uint32_t value) {
  PutLittleEndian(bytes, at, value, 4);
}

PerfBlockBuilder& PerfBlockBuilder::PerfTime100nSec(int64_t time) {
  perfTime100nSec = time;
  return *this;
}

PerfBlockBuilder& PerfBlockBuilder::AddObject(PerfObjectLayout object) {
  objects.push_back(std::move(object));
  return *this;
}

PerfBlock PerfBlockBuilder::Build() const {
  PerfBlock block;
  std::vector<uint8_t>& bytes = block.bytes;
  AppendZeros(bytes, PERF_BLOCK_HEADER_BYTES);
  const char16_t signature[] = u"PERF";
  for (size_t i = 0; i < 4; ++i) PutLittleEndian(bytes, 2 * i, signature[i], 2);
  PutLittleEndian(bytes, 8, 1, 4);  // LittleEndian
  PutLittleEndian(bytes, 24, PERF_BLOCK_HEADER_BYTES, 4);
  PutLittleEndian(bytes, 28, objects.size(), 4);
  PutLittleEndian(bytes, 72, static_cast<uint64_t>(perfTime100nSec), 8);
  for (const PerfObjectLayout& object : objects) {
    block.objectOffsets.push_back(bytes.size());
    AppendObject(bytes, object);
  }
  PutLittleEndian(bytes, 20, bytes.size(), 4);  // TotalByteLength
  return block;
}
