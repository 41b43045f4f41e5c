#include "virtual-meter/log_file_win32.h"

namespace vmeter {

void LogFile::Use(const std::string& path) {
  if (path == path_) return;
  Close();
  path_ = path;
  if (path.empty()) return;
  // Shared for deletion too, so a test can remove its folder while the library still runs.
  file_ = CreateFileA(path.c_str(), FILE_APPEND_DATA,
                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                      FILE_ATTRIBUTE_NORMAL, nullptr);
}

void LogFile::Append(const std::vector<std::string>& lines) {
  if (file_ == INVALID_HANDLE_VALUE || lines.empty()) return;
  std::string text;
  for (const std::string& line : lines) {
    text += line;
    text += '\n';
  }
  DWORD written = 0;
  WriteFile(file_, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

void LogFile::Close() {
  if (file_ != INVALID_HANDLE_VALUE) CloseHandle(file_);
  file_ = INVALID_HANDLE_VALUE;
  path_.clear();
}

}  // namespace vmeter
