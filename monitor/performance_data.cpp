#include "monitor/performance_data.h"

#include <cstring>
#include <new>
#include <string>

namespace {

// Field offsets, in bytes from the start of each structure.
constexpr uint64_t BLOCK_HEADER_LENGTH = 24;
constexpr uint64_t BLOCK_NUM_OBJECT_TYPES = 28;
constexpr uint64_t BLOCK_PERF_TIME_100NSEC = 72;
constexpr uint64_t OBJECT_TOTAL_BYTE_LENGTH = 0;
constexpr uint64_t OBJECT_DEFINITION_LENGTH = 4;
constexpr uint64_t OBJECT_HEADER_LENGTH = 8;
constexpr uint64_t OBJECT_NAME_TITLE_INDEX = 12;
constexpr uint64_t OBJECT_NUM_COUNTERS = 32;
constexpr uint64_t OBJECT_NUM_INSTANCES = 40;
constexpr uint64_t COUNTER_BYTE_LENGTH = 0;
constexpr uint64_t COUNTER_NAME_TITLE_INDEX = 4;
constexpr uint64_t COUNTER_OFFSET = 36;
constexpr uint64_t INSTANCE_BYTE_LENGTH = 0;
constexpr uint64_t INSTANCE_NAME_OFFSET = 16;
constexpr uint64_t COUNTER_BLOCK_BYTE_LENGTH = 0;

constexpr int32_t PERF_NO_INSTANCES = -1;

// Positions are 64-bit so that adding a 32-bit length from the block can never wrap, even where
// size_t is 32 bits.
bool HasBytes(PerfDataView block, uint64_t at, uint64_t count) {
  return at <= block.size && block.size - at >= count;
}

uint64_t ReadLittleEndian(PerfDataView block, uint64_t at, int count) {
  uint64_t value = 0;
  for (int i = count - 1; i >= 0; --i) value = (value << 8) | block.bytes[at + i];
  return value;
}

bool ReadU32(PerfDataView block, uint64_t at, uint32_t* value) {
  if (!HasBytes(block, at, 4)) return false;
  *value = static_cast<uint32_t>(ReadLittleEndian(block, at, 4));
  return true;
}

bool ReadI32(PerfDataView block, uint64_t at, int32_t* value) {
  uint32_t bits = 0;
  if (!ReadU32(block, at, &bits)) return false;
  std::memcpy(value, &bits, sizeof bits);
  return true;
}

bool ReadI64(PerfDataView block, uint64_t at, int64_t* value) {
  if (!HasBytes(block, at, 8)) return false;
  uint64_t bits = ReadLittleEndian(block, at, 8);
  std::memcpy(value, &bits, sizeof bits);
  return true;
}

// The zero-terminated UTF-16 string at `at`; false when no terminator lies inside the block.
bool ReadWideName(PerfDataView block, uint64_t at, std::u16string* name) {
  name->clear();
  for (uint64_t unitAt = at; HasBytes(block, unitAt, 2); unitAt += 2) {
    auto unit = static_cast<char16_t>(ReadLittleEndian(block, unitAt, 2));
    if (unit == 0) return true;
    name->push_back(unit);
  }
  return false;
}

char FoldAsciiCase(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualIgnoringAsciiCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (FoldAsciiCase(a[i]) != FoldAsciiCase(b[i])) return false;
  }
  return true;
}

// The wanted name as it compares: taken through UTF-16 and back, as the system would see it.
bool ToComparableName(const char* instanceName, const AnsiCodePage& codePage, std::string* ansi) {
  std::u16string wide;
  return codePage.toWide(instanceName, &wide) && codePage.toAnsi(wide, ansi);
}

bool InstanceNameMatches(PerfDataView block, uint64_t nameAt, const std::string& wanted,
                         const AnsiCodePage& codePage) {
  std::u16string wide;
  std::string ansi;
  if (!ReadWideName(block, nameAt, &wide) || !codePage.toAnsi(wide, &ansi)) return false;
  return EqualIgnoringAsciiCase(ansi, wanted);
}

// Where the counter block of the wanted instance starts, or false when no instance matches.
bool FindInstanceCounterBlock(PerfDataView block, uint64_t firstInstanceAt, int32_t numInstances,
                              const char* instanceName, const AnsiCodePage& codePage,
                              uint64_t* counterBlockAt) {
  std::string wanted;
  if (!ToComparableName(instanceName, codePage, &wanted)) return false;
  uint64_t instanceAt = firstInstanceAt;
  for (int32_t i = 0; i < numInstances; ++i) {
    uint32_t instanceLength = 0, nameOffset = 0, counterBlockLength = 0;
    if (!ReadU32(block, instanceAt + INSTANCE_BYTE_LENGTH, &instanceLength) ||
        !ReadU32(block, instanceAt + INSTANCE_NAME_OFFSET, &nameOffset)) {
      return false;
    }
    uint64_t blockAt = instanceAt + instanceLength;
    if (InstanceNameMatches(block, instanceAt + nameOffset, wanted, codePage)) {
      *counterBlockAt = blockAt;
      return true;
    }
    if (!ReadU32(block, blockAt + COUNTER_BLOCK_BYTE_LENGTH, &counterBlockLength)) return false;
    // A zero length would bring the walk back to the same place on every step.
    if (instanceLength == 0 || counterBlockLength == 0) return false;
    instanceAt = blockAt + counterBlockLength;
  }
  return false;
}

// The CounterOffset of the definition with title `counterIndex`, or false when there is none.
bool FindCounterOffset(PerfDataView block, uint64_t objectAt, uint32_t counterIndex,
                       uint32_t* counterOffset) {
  uint32_t headerLength = 0, numCounters = 0;
  if (!ReadU32(block, objectAt + OBJECT_HEADER_LENGTH, &headerLength) ||
      !ReadU32(block, objectAt + OBJECT_NUM_COUNTERS, &numCounters)) {
    return false;
  }
  uint64_t definitionAt = objectAt + headerLength;
  for (uint32_t i = 0; i < numCounters; ++i) {
    uint32_t definitionLength = 0, titleIndex = 0;
    if (!ReadU32(block, definitionAt + COUNTER_BYTE_LENGTH, &definitionLength) ||
        !ReadU32(block, definitionAt + COUNTER_NAME_TITLE_INDEX, &titleIndex)) {
      return false;
    }
    if (titleIndex == counterIndex)
      return ReadU32(block, definitionAt + COUNTER_OFFSET, counterOffset);
    // A zero length would read the same definition up to NumCounters times over.
    if (definitionLength == 0) return false;
    definitionAt += definitionLength;
  }
  return false;
}

}  // namespace

int64_t FindCounterValue(PerfDataView block, uint64_t objectAt, uint32_t counterIndex,
                         const char* instanceName, const AnsiCodePage& codePage) {
  uint32_t counterOffset = 0, definitionLength = 0;
  int32_t numInstances = 0;
  if (!FindCounterOffset(block, objectAt, counterIndex, &counterOffset)) return NOT_FOUND_VALUE;
  if (!ReadU32(block, objectAt + OBJECT_DEFINITION_LENGTH, &definitionLength) ||
      !ReadI32(block, objectAt + OBJECT_NUM_INSTANCES, &numInstances)) {
    return NOT_FOUND_VALUE;
  }
  uint64_t counterBlockAt = objectAt + definitionLength;
  if (numInstances != PERF_NO_INSTANCES) {
    if (numInstances <= 0) return NOT_FOUND_VALUE;
    try {
      if (!FindInstanceCounterBlock(block, counterBlockAt, numInstances, instanceName, codePage,
                                    &counterBlockAt)) {
        return NOT_FOUND_VALUE;
      }
    } catch (const std::bad_alloc&) {
      // No memory for the name copies: an instance that cannot be compared is not found.
      return NOT_FOUND_VALUE;
    }
  }
  // Always 64 bits, whatever size the counter declares.
  int64_t value = 0;
  if (!ReadI64(block, counterBlockAt + counterOffset, &value)) return NOT_FOUND_VALUE;
  return value;
}

CounterReading FindObjectCounterValue(PerfDataView block, uint32_t objectIndex,
                                      uint32_t counterIndex, const char* instanceName,
                                      const AnsiCodePage& codePage) {
  CounterReading reading;
  uint32_t headerLength = 0, numObjects = 0;
  if (!ReadU32(block, BLOCK_HEADER_LENGTH, &headerLength) ||
      !ReadU32(block, BLOCK_NUM_OBJECT_TYPES, &numObjects)) {
    return reading;
  }
  uint64_t objectAt = headerLength;
  for (uint32_t i = 0; i < numObjects; ++i) {
    uint32_t totalLength = 0, titleIndex = 0;
    if (!ReadU32(block, objectAt + OBJECT_TOTAL_BYTE_LENGTH, &totalLength) ||
        !ReadU32(block, objectAt + OBJECT_NAME_TITLE_INDEX, &titleIndex)) {
      return reading;
    }
    if (titleIndex == objectIndex) {
      reading.raw = FindCounterValue(block, objectAt, counterIndex, instanceName, codePage);
      reading.found = reading.raw != NOT_FOUND_VALUE;
      return reading;
    }
    // A zero length would scan the same object NumObjectTypes times over.
    if (totalLength == 0) return reading;
    objectAt += totalLength;
  }
  return reading;
}

int64_t ReadPerfTime100nSec(PerfDataView block) {
  int64_t time = 0;
  return ReadI64(block, BLOCK_PERF_TIME_100NSEC, &time) ? time : 0;
}
