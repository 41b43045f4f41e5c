#include "log/event_log.h"

#include <cstdarg>
#include <cstdio>

#include "log/log_clock.h"
#include "log/log_line.h"

EventLog eventLog;

void LogEvent(const char* format, ...) {
  char text[LOG_TEXT_LIMIT + 1];
  va_list arguments;
  va_start(arguments, format);
  std::vsnprintf(text, sizeof text, format, arguments);
  va_end(arguments);
  std::string line = FormatLogLine(ReadLocalLogTime(), text);
  void (*wake)() = nullptr;
  {
    std::lock_guard<std::mutex> holding(eventLog.lock);
    if (eventLog.queued.size() >= LOG_QUEUE_LINES) {
      ++eventLog.dropped;
      return;
    }
    eventLog.queued.push_back(std::move(line));
    wake = eventLog.wakeWriter;
  }
  if (wake) wake();
}

bool TakeLoggedLines(std::vector<std::string>& lines, bool wait) {
  std::unique_lock<std::mutex> holding(eventLog.lock, std::defer_lock);
  if (wait) {
    holding.lock();
  } else if (!holding.try_lock()) {
    return false;
  }
  for (std::string& line : eventLog.queued) lines.push_back(std::move(line));
  eventLog.queued.clear();
  uint32_t dropped = eventLog.dropped;
  eventLog.dropped = 0;
  holding.unlock();
  if (dropped > 0) {
    char text[96];
    std::snprintf(text, sizeof text, "%u lines were dropped: the log could not keep up",
                  static_cast<unsigned>(dropped));
    lines.push_back(FormatLogLine(ReadLocalLogTime(), text));
  }
  return true;
}
