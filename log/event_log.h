#pragma once
// The event log every part of the program reports to: what happened, and what was found damaged.
// LogEvent may be called from any thread and never waits for the disk: the line goes into a small
// queue in memory that the log's writer (log/log_writer.h) empties into the file. When the queue
// is full (the disk has stopped answering), lines are dropped and counted. Plain logic.
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

// Lines waiting for the writer; a queue this full means the disk has stopped answering.
constexpr size_t LOG_QUEUE_LINES = 256;

#if defined(__MINGW32__)
#define LOG_FORMAT_CHECK __attribute__((format(gnu_printf, 1, 2)))
#else
#define LOG_FORMAT_CHECK __attribute__((format(printf, 1, 2)))
#endif

// Process-wide state of the event log's queue.
struct EventLog {
  std::mutex lock;  // held only to add or take lines, never across a disk access
  std::vector<std::string> queued;
  uint32_t dropped = 0;
  // Set by the writer once it runs: tells it there are lines to write. Until then lines wait.
  void (*wakeWriter)() = nullptr;
};

extern EventLog eventLog;

// Adds one event, formatted as printf does, stamped with the local time now.
void LogEvent(const char* format, ...) LOG_FORMAT_CHECK;

// Moves the waiting lines to the end of `lines`, oldest first, with a line telling how many were
// dropped, if any. With `wait` false it gives up at once when the queue is held (a crash report
// cannot wait for a thread that may have died holding it). Returns whether it got the queue.
bool TakeLoggedLines(std::vector<std::string>& lines, bool wait = true);
