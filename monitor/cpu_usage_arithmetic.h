#pragma once
// Turning two samples of idle time into a CPU usage percentage.
#include <cstdint>

// What an x86 conversion gives for a double that fits no 64-bit integer (infinity, NaN, too large).
constexpr int64_t INTEGER_INDEFINITE = INT64_MIN;

// Truncation toward zero, INTEGER_INDEFINITE for what does not fit.
int64_t TruncateToInt64(double x);

// The low 32 bits of `value`, as a signed number.
int32_t LowInt32(int64_t value);

// `later - earlier` with two's-complement wrap-around: a counter that passes the top of its range
// still gives its true advance.
int64_t WrappingDifference(int64_t later, int64_t earlier);

// (1 - idle / elapsed) * 100, rounded half up, truncated to 64 bits, then to its low 32 bits, and
// 0 when negative. There is no upper limit: an idle counter that runs backwards gives over 100.
int32_t UsageFromIdleCounter(int64_t idleAdvance, double elapsed);

// The same figure from the system's own time totals, whose kernel time includes idle time; 0 when
// no time has passed.
int32_t UsageFromSystemTimes(int64_t idleAdvance, int64_t kernelAdvance, int64_t userAdvance);
