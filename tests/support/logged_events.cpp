#include "support/logged_events.h"

#include "log/event_log.h"

std::vector<std::string> TakeLoggedEvents() {
  constexpr size_t STAMP = sizeof "2026-12-07 18:30:01.123 " - 1;
  std::vector<std::string> lines;
  TakeLoggedLines(lines);
  for (std::string& line : lines) {
    line = line.size() >= STAMP + 2 ? line.substr(STAMP, line.size() - STAMP - 2) : "";
  }
  return lines;
}
