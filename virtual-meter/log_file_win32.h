#pragma once
// The virtual meter's log file: lines appended as they happen, readable while it is written.
#include <windows.h>

#include <string>
#include <vector>

namespace vmeter {

class LogFile {
 public:
  LogFile() = default;
  LogFile(const LogFile&) = delete;
  LogFile& operator=(const LogFile&) = delete;
  ~LogFile() { Close(); }

  // Switches to `path` (none when empty); the same path keeps the file open.
  void Use(const std::string& path);

  // Each line gets its line end. One write per call, straight to the file: a test reading the
  // log, or a crash of the program, never finds it behind.
  void Append(const std::vector<std::string>& lines);

 private:
  void Close();

  std::string path_;
  HANDLE file_ = INVALID_HANDLE_VALUE;
};

}  // namespace vmeter
