#include "windows/support/torvex_log.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "windows/support/condition_wait.h"

namespace {

// "2026-12-07 18:30:01.123 ": what comes before each event.
constexpr size_t STAMP_LENGTH = 24;

}  // namespace

std::vector<std::string> TorvexLog::Events() const {
  std::ifstream file(path_, std::ios::binary);
  std::stringstream text;
  text << file.rdbuf();
  std::vector<std::string> events;
  std::string line;
  std::string all = text.str();
  size_t start = 0;
  for (size_t end = all.find("\r\n"); end != std::string::npos; end = all.find("\r\n", start)) {
    line = all.substr(start, end - start);
    events.push_back(line.size() > STAMP_LENGTH ? line.substr(STAMP_LENGTH) : line);
    start = end + 2;
  }
  return events;
}

uint64_t TorvexLog::Size() const {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExA(path_.c_str(), GetFileExInfoStandard, &data)) {
    return 0;
  }
  return (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

bool TorvexLog::WaitFor(const std::string& text, size_t from, int timeoutMs) const {
  return WaitUntil([&] { return FindEvent(Events(), text, from) != SIZE_MAX; }, timeoutMs);
}

size_t FindEvent(const std::vector<std::string>& events, const std::string& text, size_t from) {
  for (size_t i = from; i < events.size(); ++i) {
    if (events[i].find(text) != std::string::npos) return i;
  }
  return SIZE_MAX;
}

void ExpectEventsInOrder(const std::vector<std::string>& events,
                         const std::vector<std::string>& texts, size_t from) {
  for (const std::string& text : texts) {
    size_t at = FindEvent(events, text, from);
    if (at == SIZE_MAX) {
      std::string all;
      for (size_t i = from; i < events.size(); ++i) all += "\n  " + events[i];
      ADD_FAILURE() << "no event \"" << text << "\" after event " << from << " of:" << all;
      return;
    }
    from = at + 1;
  }
}
