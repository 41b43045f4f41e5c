#include "windows/support/torvex_log.h"

#include <gtest/gtest.h>

#include <fstream>

#include "windows/support/condition_wait.h"

std::vector<std::string> TorvexLog::Events() const {
  constexpr size_t STAMP = sizeof "2026-12-07 18:30:01.123 " - 1;
  std::ifstream file(path_, std::ios::binary);
  std::vector<std::string> events;
  for (std::string line; std::getline(file, line) && !line.empty() && line.back() == '\r';) {
    events.push_back(line.substr(std::min(STAMP, line.size()), line.size() - 1 - STAMP));
  }
  return events;
}

uint64_t TorvexLog::Size() const {
  std::ifstream file(path_, std::ios::binary | std::ios::ate);
  return file ? static_cast<uint64_t>(file.tellg()) : 0;
}

bool TorvexLog::WaitFor(const std::string& text) const {
  return WaitUntil([&] { return FindEvent(Events(), text) != SIZE_MAX; }, 5000);
}

size_t FindEvent(const std::vector<std::string>& events, const std::string& text, size_t from) {
  for (size_t i = from; i < events.size(); ++i) {
    if (events[i].find(text) != std::string::npos) return i;
  }
  return SIZE_MAX;
}

void ExpectEventsInOrder(const std::vector<std::string>& events,
                         const std::vector<std::string>& texts) {
  size_t from = 0;
  for (const std::string& text : texts) {
    from = FindEvent(events, text, from);
    if (from == SIZE_MAX) {
      std::string all;
      for (const std::string& event : events) all += "\n  " + event;
      ADD_FAILURE() << "no event \"" << text << "\" in its place among:" << all;
      return;
    }
    ++from;
  }
}
