#pragma once
// One log line: a flat JSON object whose first member is always "t_ms".
#include <cstdint>
#include <string>

namespace vmeter {

class JsonLine {
 public:
  explicit JsonLine(int64_t tMs);

  JsonLine& Number(const char* key, int64_t value);
  // Quotes, backslashes and control characters are escaped; other bytes pass as they are
  // (paths are in the program's ANSI code page).
  JsonLine& Text(const char* key, const std::string& value);

  // The object, without a line end.
  std::string Finish() const { return text_ + "}"; }

 private:
  void Key(const char* key);

  std::string text_;
};

}  // namespace vmeter
