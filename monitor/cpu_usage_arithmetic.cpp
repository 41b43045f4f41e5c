#include "monitor/cpu_usage_arithmetic.h"

namespace {

// 2^63: every double in [-2^63, 2^63) truncates to a 64-bit integer.
constexpr double INT64_RANGE_END = 9223372036854775808.0;

int32_t PercentFromBusyShare(double busyShare) {
  int32_t result = LowInt32(TruncateToInt64(busyShare * 100.0 + 0.5));
  return result < 0 ? 0 : result;
}

}  // namespace

int64_t TruncateToInt64(double x) {
  // Converting a double outside the range is undefined in C++; the hardware's answer is spelt out.
  if (!(x >= -INT64_RANGE_END && x < INT64_RANGE_END)) return INTEGER_INDEFINITE;
  return static_cast<int64_t>(x);
}

int32_t LowInt32(int64_t value) {
  auto low = static_cast<uint32_t>(static_cast<uint64_t>(value));
  // Spelt out rather than cast: a value above INT32_MAX maps to its negative twin.
  return low <= INT32_MAX ? static_cast<int32_t>(low) : -static_cast<int32_t>(~low) - 1;
}

int64_t WrappingDifference(int64_t later, int64_t earlier) {
  // Signed overflow is undefined; unsigned arithmetic wraps, and the result fits back exactly.
  uint64_t bits = static_cast<uint64_t>(later) - static_cast<uint64_t>(earlier);
  return bits <= INT64_MAX ? static_cast<int64_t>(bits) : -static_cast<int64_t>(~bits) - 1;
}

int32_t UsageFromIdleCounter(int64_t idleAdvance, double elapsed) {
  return PercentFromBusyShare(1.0 - static_cast<double>(idleAdvance) / elapsed);
}

int32_t UsageFromSystemTimes(int64_t idleAdvance, int64_t kernelAdvance, int64_t userAdvance) {
  double total = static_cast<double>(kernelAdvance) + static_cast<double>(userAdvance);
  if (total <= 0.0) return 0;
  return PercentFromBusyShare(1.0 - static_cast<double>(idleAdvance) / total);
}
