#pragma once
// Fetching the performance-data block into a buffer that lives for the whole run and grows when
// the system asks for more room.
#include <cstdint>
#include <functional>
#include <vector>

constexpr uint32_t PERF_DATA_INITIAL_BYTES = 102400;
constexpr uint32_t PERF_DATA_GROWTH_BYTES = 1024;
// A real block is a few hundred kilobytes; a system still asking for more past this is not going
// to stop, and a run that keeps growing would take the whole address space.
constexpr uint32_t PERF_DATA_MAX_BYTES = 64u << 20;
constexpr int32_t QUERY_MORE_DATA = 234;  // ERROR_MORE_DATA

// Queries the block into `data`, at most `*size` bytes; returns the system's result code and
// leaves in `*size` whatever the system put there.
using PerfDataQuery = std::function<int32_t(uint8_t* data, uint32_t* size)>;

// Creates the buffer on first use, zero-fills it and queries into it, growing it while the system
// answers QUERY_MORE_DATA. A failed query is not reported: the buffer holds zeros or whatever the
// query left. The buffer stays empty when it cannot be created.
void QueryPerformanceData(std::vector<uint8_t>& buffer, const PerfDataQuery& query);

// The size to try after a QUERY_MORE_DATA answer that left `reported` in the size; 0 to give up.
uint32_t NextPerfDataSize(uint32_t current, uint32_t reported);
