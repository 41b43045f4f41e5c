#pragma once
// One line of the event log: the local date and time to the millisecond, then the event in plain
// English. Plain logic.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// An event's text is cut to this many characters: long enough for two full paths.
constexpr size_t LOG_TEXT_LIMIT = 640;

struct LogTime {
  int32_t year = 0;
  int32_t month = 0;
  int32_t day = 0;
  int32_t hour = 0;
  int32_t minute = 0;
  int32_t second = 0;
  int32_t millisecond = 0;
};

// "2026-12-07 18:30:01.123 <text>" and a CR LF, for Notepad. A control character in the text (a
// line break inside a skin value, say) becomes a space, so that one event is always one line.
std::string FormatLogLine(const LogTime& time, std::string_view text);
