#pragma once
// The program's event log (torvex.log in its %LOCALAPPDATA%\Velquin\Torvex), read back by a test.
#include <cstdint>
#include <string>
#include <vector>

class TorvexLog {
 public:
  // torvex.log, or the file it was moved aside to (torvex.old.log), in `folder`.
  explicit TorvexLog(const std::string& folder, const char* file = "torvex.log")
      : path_(folder + "\\" + file) {}

  // The events of the complete lines written so far, without their time stamps.
  std::vector<std::string> Events() const;
  uint64_t Size() const;
  // Waits until an event contains `text`; false on time-out.
  bool WaitFor(const std::string& text) const;

 private:
  std::string path_;
};

// The position of the first event at or after `from` that contains `text`, or SIZE_MAX.
size_t FindEvent(const std::vector<std::string>& events, const std::string& text, size_t from = 0);

// Checks that each text is contained in an event, in this order, each after the one before.
void ExpectEventsInOrder(const std::vector<std::string>& events,
                         const std::vector<std::string>& texts);
