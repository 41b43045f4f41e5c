#include "virtual-meter/json_line.h"

#include <cstdio>

namespace vmeter {

JsonLine::JsonLine(int64_t tMs) : text_("{") {
  Number("t_ms", tMs);
}

void JsonLine::Key(const char* key) {
  if (text_.size() > 1) text_ += ',';
  text_ += '"';
  text_ += key;
  text_ += "\":";
}

JsonLine& JsonLine::Number(const char* key, int64_t value) {
  Key(key);
  char digits[24];
  std::snprintf(digits, sizeof digits, "%lld", static_cast<long long>(value));
  text_ += digits;
  return *this;
}

JsonLine& JsonLine::Text(const char* key, const std::string& value) {
  Key(key);
  text_ += '"';
  for (char c : value) {
    unsigned char byte = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      text_ += '\\';
      text_ += c;
    } else if (byte < 0x20) {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\u%04x", byte);
      text_ += escape;
    } else {
      text_ += c;
    }
  }
  text_ += '"';
  return *this;
}

}  // namespace vmeter
