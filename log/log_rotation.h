#pragma once
// How large the log file may grow before it is moved aside to torvex.old.log and begun afresh,
// so that a hot-plug storm never fills a disk. Plain logic.
#include <cstdint>

constexpr uint64_t LOG_ROTATE_BYTES = 256 * 1024;

// Whether a file of `fileBytes` must be moved aside before `lineBytes` more are written: the file
// never passes LOG_ROTATE_BYTES, unless one line alone would (an empty file takes any line).
bool RotationDue(uint64_t fileBytes, uint64_t lineBytes);
