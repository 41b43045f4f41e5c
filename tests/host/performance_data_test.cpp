#include "monitor/performance_data.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <future>
#include <new>
#include <string>
#include <vector>

#include "support/perf_block_builder.h"

namespace {

constexpr uint32_t MEMORY = 4;
constexpr uint32_t PROCESSOR = 238;
constexpr uint32_t PROCESSOR_TIME = 6;
constexpr uint32_t INTERRUPTS = 148;
constexpr uint32_t SYSTEM = 2;
constexpr uint32_t TOTAL_PROCESSOR_TIME = 240;
constexpr int64_t TOTAL_IDLE = 0x123456789AB;  // wider than 32 bits

// Laid out as an NT system does: another object first, then Processor with two CPUs and "_Total".
PerfBlock NtBlock() {
  return PerfBlockBuilder()
      .PerfTime100nSec(0x0102030405060708)
      .AddObject({MEMORY, {24, PROCESSOR_TIME}, {11, 12}, {}})
      .AddObject({PROCESSOR,
                  {INTERRUPTS, PROCESSOR_TIME},
                  {},
                  {{u"0", {1, 100}}, {u"1", {2, 200}}, {u"_Total", {3, TOTAL_IDLE}}}})
      .Build();
}

// Where things lie in NtBlock(), from the Processor object's start.
constexpr size_t DEFINITION_LENGTH_AT = 4;
constexpr size_t HEADER_LENGTH_AT = 8;
constexpr size_t NUM_COUNTERS_AT = 32;
constexpr size_t NUM_INSTANCES_AT = 40;
constexpr size_t SECOND_DEFINITION = PERF_OBJECT_HEADER_BYTES + PERF_COUNTER_DEFINITION_BYTES;
constexpr size_t FIRST_INSTANCE = PERF_OBJECT_HEADER_BYTES + 2 * PERF_COUNTER_DEFINITION_BYTES;
constexpr size_t FIRST_COUNTER_BLOCK = FIRST_INSTANCE + 32;
constexpr size_t TOTAL_INSTANCE = FIRST_INSTANCE + 2 * (32 + 24);

CounterReading FindInView(PerfDataView view, uint32_t object, uint32_t counter,
                          const char* instance, const AnsiCodePage& codePage = AsciiCodePage()) {
  return FindObjectCounterValue(view, object, counter, instance, codePage);
}

CounterReading Find(const PerfBlock& block, uint32_t object, uint32_t counter, const char* instance,
                    const AnsiCodePage& codePage = AsciiCodePage()) {
  return FindInView(block.View(), object, counter, instance, codePage);
}

TEST(PerformanceData, FindsTheCounterOfTheNamedInstance) {
  struct Case {
    uint32_t counter;
    const char* instance;
    int64_t raw;
  } cases[] = {
      {PROCESSOR_TIME, "_Total", TOTAL_IDLE},
      {PROCESSOR_TIME, "_TOTAL", TOTAL_IDLE},
      {PROCESSOR_TIME, "_total", TOTAL_IDLE},
      {PROCESSOR_TIME, "1", 200},
      {INTERRUPTS, "0", 1},
      {PROCESSOR_TIME, "2", NOT_FOUND_VALUE},
      {PROCESSOR_TIME, "_Tota", NOT_FOUND_VALUE},
      {PROCESSOR_TIME, "_Total ", NOT_FOUND_VALUE},
      {PROCESSOR_TIME, "", NOT_FOUND_VALUE},
      {999, "_Total", NOT_FOUND_VALUE},
  };
  PerfBlock block = NtBlock();
  for (const Case& c : cases) {
    CounterReading reading = Find(block, PROCESSOR, c.counter, c.instance);
    EXPECT_EQ(reading.raw, c.raw) << c.counter << " " << c.instance;
    EXPECT_EQ(reading.found, c.raw != NOT_FOUND_VALUE) << c.counter << " " << c.instance;
  }
}

TEST(PerformanceData, ObjectWithoutInstancesHoldsItsCounterBlockAfterTheDefinitions) {
  PerfBlock block = PerfBlockBuilder()
                        .AddObject({MEMORY, {24}, {5}, {}})
                        .AddObject({SYSTEM, {146, TOTAL_PROCESSOR_TIME}, {9, TOTAL_IDLE}, {}})
                        .Build();
  CounterReading reading = Find(block, SYSTEM, TOTAL_PROCESSOR_TIME, "");
  EXPECT_TRUE(reading.found);
  EXPECT_EQ(reading.raw, TOTAL_IDLE);
  EXPECT_EQ(Find(block, SYSTEM, TOTAL_PROCESSOR_TIME, "_Total").raw, TOTAL_IDLE);  // name unused
}

TEST(PerformanceData, MissingObjectReadsZeroAndMissingCounterReadsNotFound) {
  PerfBlock block = NtBlock();
  CounterReading noObject = Find(block, SYSTEM, TOTAL_PROCESSOR_TIME, "");
  EXPECT_FALSE(noObject.found);
  EXPECT_EQ(noObject.raw, 0);

  // What Wine answers: a valid header and no objects at all.
  PerfBlock empty = PerfBlockBuilder().PerfTime100nSec(5000).Build();
  CounterReading none = Find(empty, PROCESSOR, PROCESSOR_TIME, "_Total");
  EXPECT_FALSE(none.found);
  EXPECT_EQ(none.raw, 0);
  EXPECT_EQ(ReadPerfTime100nSec(empty.View()), 5000);
}

TEST(PerformanceData, InstanceCountsOtherThanNoInstancesFindNothing) {
  for (uint32_t count : {0u, 0xFFFFFFFEu, 0x80000000u}) {
    PerfBlock block = NtBlock();
    block.PutU32(block.objectOffsets[1] + NUM_INSTANCES_AT, count);
    EXPECT_EQ(Find(block, PROCESSOR, PROCESSOR_TIME, "_Total").raw, NOT_FOUND_VALUE) << count;
  }
}

// Latin-1 as the ANSI code page: non-ASCII letters keep their identity, and their case.
bool ToLatin1(const std::u16string& text, std::string* ansi) {
  ansi->clear();
  for (char16_t unit : text) {
    if (unit > 0xFF) return false;
    ansi->push_back(static_cast<char>(unit));
  }
  return true;
}

bool FromLatin1(const std::string& ansi, std::u16string* text) {
  text->clear();
  for (char byte : ansi) text->push_back(static_cast<unsigned char>(byte));
  return true;
}

TEST(PerformanceData, InstanceNamesCompareInTheAnsiCodePageFoldingAsciiOnly) {
  const AnsiCodePage latin1{ToLatin1, FromLatin1};
  PerfBlock block = PerfBlockBuilder()
                        .AddObject({PROCESSOR,
                                    {PROCESSOR_TIME},
                                    {},
                                    {{u"\u0100", {1}}, {u"Caf\u00e9", {2}}, {u"CAF\u00c9", {3}}}})
                        .Build();
  EXPECT_EQ(Find(block, PROCESSOR, PROCESSOR_TIME, "caf\xe9", latin1).raw, 2);
  EXPECT_EQ(Find(block, PROCESSOR, PROCESSOR_TIME, "caf\xc9", latin1).raw, 3);
  // A name the code page cannot hold matches nothing.
  EXPECT_EQ(Find(block, PROCESSOR, PROCESSOR_TIME, "?", latin1).raw, NOT_FOUND_VALUE);
  // With ASCII only, both the name and the wanted text turn into '?', and so match.
  EXPECT_EQ(Find(block, PROCESSOR, PROCESSOR_TIME, "\xe2\x82\xac").raw, NOT_FOUND_VALUE);
  EXPECT_EQ(Find(block, PROCESSOR, PROCESSOR_TIME, "\xc4").raw, 1);
}

bool ThrowBadAlloc(const std::u16string&, std::string*) {
  throw std::bad_alloc();
}

TEST(PerformanceData, NoMemoryForTheNameCopiesFindsNothing) {
  const AnsiCodePage starved{ThrowBadAlloc, AsciiCodePage().toWide};
  CounterReading reading = Find(NtBlock(), PROCESSOR, PROCESSOR_TIME, "_Total", starved);
  EXPECT_FALSE(reading.found);
  EXPECT_EQ(reading.raw, NOT_FOUND_VALUE);
}

// Every cut of a block must read either the true value or nothing, and never past the cut: each
// copy is its own heap block of exactly that size, so the sanitizer sees any overread.
void ExpectEveryCutReadsSafely(const PerfBlock& block, uint32_t object, uint32_t counter,
                               const char* instance, int64_t expected, int64_t time) {
  ASSERT_EQ(Find(block, object, counter, instance).raw, expected);
  ASSERT_EQ(ReadPerfTime100nSec(block.View()), time);
  for (size_t cut = 0; cut < block.bytes.size(); ++cut) {
    std::vector<uint8_t> bytes(block.bytes.begin(), block.bytes.begin() + cut);
    PerfDataView view{bytes.data(), bytes.size()};
    CounterReading reading = FindInView(view, object, counter, instance);
    if (reading.found) {
      EXPECT_EQ(reading.raw, expected) << "cut at " << cut;
    } else {
      EXPECT_TRUE(reading.raw == 0 || reading.raw == NOT_FOUND_VALUE) << "cut at " << cut;
    }
    int64_t readTime = ReadPerfTime100nSec(view);
    EXPECT_TRUE(readTime == time || readTime == 0) << "cut at " << cut;
  }
}

TEST(PerformanceData, CutShortBlocksReadNothingOrTheTruth) {
  ExpectEveryCutReadsSafely(NtBlock(), PROCESSOR, PROCESSOR_TIME, "_Total", TOTAL_IDLE,
                            0x0102030405060708);
  PerfBlock nt4 = PerfBlockBuilder()
                      .PerfTime100nSec(77)
                      .AddObject({SYSTEM, {TOTAL_PROCESSOR_TIME}, {42}, {}})
                      .Build();
  ExpectEveryCutReadsSafely(nt4, SYSTEM, TOTAL_PROCESSOR_TIME, "", 42, 77);
}

TEST(PerformanceData, OffsetsPointingOutsideTheBlockFindNothing) {
  struct Case {
    const char* name;
    bool inProcessor;  // relative to the Processor object, else to the block
    size_t at;
    int64_t raw;
  } cases[] = {
      {"block HeaderLength", false, 24, 0},
      {"first object's TotalByteLength", false, PERF_BLOCK_HEADER_BYTES, 0},
      {"object HeaderLength", true, HEADER_LENGTH_AT, NOT_FOUND_VALUE},
      {"object DefinitionLength", true, DEFINITION_LENGTH_AT, NOT_FOUND_VALUE},
      {"first counter ByteLength", true, PERF_OBJECT_HEADER_BYTES, NOT_FOUND_VALUE},
      {"CounterOffset", true, SECOND_DEFINITION + 36, NOT_FOUND_VALUE},
      {"first instance ByteLength", true, FIRST_INSTANCE, NOT_FOUND_VALUE},
      {"first counter block ByteLength", true, FIRST_COUNTER_BLOCK, NOT_FOUND_VALUE},
      {"_Total NameOffset", true, TOTAL_INSTANCE + 16, NOT_FOUND_VALUE},
      {"_Total ByteLength", true, TOTAL_INSTANCE, NOT_FOUND_VALUE},
  };
  for (uint32_t huge : {0x7FFFFFF8u, 0xFFFFFFF8u}) {
    for (const Case& c : cases) {
      PerfBlock block = NtBlock();
      block.PutU32((c.inProcessor ? block.objectOffsets[1] : 0) + c.at, huge);
      CounterReading reading = Find(block, PROCESSOR, PROCESSOR_TIME, "_Total");
      EXPECT_FALSE(reading.found) << c.name << " " << huge;
      EXPECT_EQ(reading.raw, c.raw) << c.name << " " << huge;
    }
  }
}

struct RunawayWalk {};

int nameConversions = 0;

// Gives up on a walk that keeps converting names long after the block's three instances.
bool CountingToAnsi(const std::u16string& text, std::string* ansi) {
  if (++nameConversions > 100) throw RunawayWalk{};
  return AsciiCodePage().toAnsi(text, ansi);
}

// Runs `lookup` on a thread of its own; false when it has not finished within seconds. (A walk
// that fails to end still holds the test up until it has taken its four billion steps.)
bool FinishesPromptly(const std::function<int64_t()>& lookup, int64_t* raw) {
  std::future<int64_t> result = std::async(std::launch::async, lookup);
  if (result.wait_for(std::chrono::seconds(10)) != std::future_status::ready) return false;
  *raw = result.get();
  return true;
}

// A zero length would bring the walk back to the same place for as many steps as the block's
// count says: here four billion.
TEST(PerformanceData, ZeroLengthsEndTheWalk) {
  PerfBlock objects = NtBlock();
  objects.PutU32(28, 0xFFFFFFFF);               // NumObjectTypes
  objects.PutU32(objects.objectOffsets[0], 0);  // Memory's TotalByteLength
  int64_t raw = 1;
  ASSERT_TRUE(FinishesPromptly(
      [&] { return Find(objects, PROCESSOR, PROCESSOR_TIME, "_Total").raw; }, &raw));
  EXPECT_EQ(raw, 0);

  PerfBlock counters = NtBlock();
  size_t processor = counters.objectOffsets[1];
  counters.PutU32(processor + NUM_COUNTERS_AT, 0xFFFFFFFF);
  counters.PutU32(processor + PERF_OBJECT_HEADER_BYTES, 0);  // first definition's ByteLength
  ASSERT_TRUE(FinishesPromptly(
      [&] { return Find(counters, PROCESSOR, PROCESSOR_TIME, "_Total").raw; }, &raw));
  EXPECT_EQ(raw, NOT_FOUND_VALUE);

  const AnsiCodePage counting{CountingToAnsi, AsciiCodePage().toWide};
  for (size_t at : {FIRST_INSTANCE, FIRST_COUNTER_BLOCK}) {
    PerfBlock instances = NtBlock();
    instances.PutU32(instances.objectOffsets[1] + NUM_INSTANCES_AT, 0x7FFFFFFF);
    instances.PutU32(instances.objectOffsets[1] + at, 0);
    nameConversions = 0;
    int64_t instanceRaw = 0;
    EXPECT_NO_THROW(instanceRaw =
                        Find(instances, PROCESSOR, PROCESSOR_TIME, "_Total", counting).raw)
        << at;
    EXPECT_EQ(instanceRaw, NOT_FOUND_VALUE) << at;
  }
}

}  // namespace
