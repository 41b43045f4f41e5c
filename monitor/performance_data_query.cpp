#include "monitor/performance_data_query.h"

#include <algorithm>
#include <new>

namespace {

bool ResizeBuffer(std::vector<uint8_t>& buffer, uint32_t size) {
  try {
    buffer.resize(size);
    return true;
  } catch (const std::bad_alloc&) {
    return false;  // the buffer keeps its old size and contents
  }
}

}  // namespace

uint32_t NextPerfDataSize(uint32_t current, uint32_t reported) {
  // The system promises nothing about the size it leaves after asking for more. A size above ours
  // is taken as the need; anything else would grow a kilobyte per query, so the buffer doubles.
  uint64_t next =
      reported > current ? uint64_t{reported} + PERF_DATA_GROWTH_BYTES : uint64_t{current} * 2;
  return next <= PERF_DATA_MAX_BYTES ? static_cast<uint32_t>(next) : 0;
}

void QueryPerformanceData(std::vector<uint8_t>& buffer, const PerfDataQuery& query) {
  if (buffer.empty() && !ResizeBuffer(buffer, PERF_DATA_INITIAL_BYTES)) return;
  std::fill(buffer.begin(), buffer.end(), uint8_t{0});
  auto size = static_cast<uint32_t>(buffer.size());
  int32_t result = query(buffer.data(), &size);
  while (result == QUERY_MORE_DATA) {
    uint32_t next = NextPerfDataSize(static_cast<uint32_t>(buffer.size()), size);
    if (next == 0 || !ResizeBuffer(buffer, next)) return;
    size = next;
    result = query(buffer.data(), &size);
  }
}
