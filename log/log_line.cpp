#include "log/log_line.h"

#include <cstdio>

std::string FormatLogLine(const LogTime& time, std::string_view text) {
  char stamp[40];
  int length = std::snprintf(stamp, sizeof stamp, "%04d-%02d-%02d %02d:%02d:%02d.%03d ",
                             static_cast<int>(time.year), static_cast<int>(time.month),
                             static_cast<int>(time.day), static_cast<int>(time.hour),
                             static_cast<int>(time.minute), static_cast<int>(time.second),
                             static_cast<int>(time.millisecond));
  std::string line(stamp, length > 0 ? static_cast<size_t>(length) : 0);
  if (text.size() > LOG_TEXT_LIMIT) text = text.substr(0, LOG_TEXT_LIMIT);
  for (char c : text) line.push_back(static_cast<unsigned char>(c) < 0x20 || c == 0x7F ? ' ' : c);
  line += "\r\n";
  return line;
}
