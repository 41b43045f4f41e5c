#include "virtual-meter/ini_reader.h"

#include <cctype>
#include <cstdint>

namespace vmeter {

namespace {

std::string Trim(const std::string& text) {
  size_t begin = 0;
  size_t end = text.size();
  while (begin < end && std::isspace(static_cast<unsigned char>(text[begin]))) ++begin;
  while (end > begin && std::isspace(static_cast<unsigned char>(text[end - 1]))) --end;
  return text.substr(begin, end - begin);
}

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

std::string Unquote(const std::string& value) {
  if (value.size() >= 2 && value.front() == '"' && value.back() == '"') {
    return value.substr(1, value.size() - 2);
  }
  return value;
}

int DigitValue(char c, int base) {
  int digit = -1;
  if (c >= '0' && c <= '9') digit = c - '0';
  if (c >= 'a' && c <= 'f') digit = c - 'a' + 10;
  if (c >= 'A' && c <= 'F') digit = c - 'A' + 10;
  return digit < base ? digit : -1;
}

}  // namespace

IniDocument ParseIni(const std::string& text) {
  IniDocument document;
  std::string section;
  size_t start = 0;
  // Notepad saves UTF-8 with a byte-order mark; it must not become part of the first line.
  if (text.compare(0, 3, "\xEF\xBB\xBF") == 0) start = 3;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = Trim(text.substr(start, end - start));
    start = end + 1;
    if (line.empty() || line[0] == ';' || line[0] == '#') continue;
    if (line[0] == '[') {
      size_t close = line.find(']');
      if (close != std::string::npos) section = Lower(Trim(line.substr(1, close - 1)));
      continue;
    }
    size_t equals = line.find('=');
    if (equals == std::string::npos) continue;
    std::string key = Lower(Trim(line.substr(0, equals)));
    if (key.empty()) continue;
    document[section][key] = Unquote(Trim(line.substr(equals + 1)));
  }
  return document;
}

const std::string* FindIniValue(const IniDocument& document, const std::string& section,
                                const std::string& key) {
  auto found = document.find(Lower(section));
  if (found == document.end()) return nullptr;
  auto value = found->second.find(Lower(key));
  return value == found->second.end() ? nullptr : &value->second;
}

bool ParseIniNumber(const std::string& text, uint32_t& number) {
  int base = 10;
  size_t position = 0;
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    base = 16;
    position = 2;
  }
  if (position >= text.size()) return false;
  uint64_t value = 0;
  for (; position < text.size(); ++position) {
    int digit = DigitValue(text[position], base);
    if (digit < 0) return false;
    value = value * base + digit;
    if (value > UINT32_MAX) return false;
  }
  number = static_cast<uint32_t>(value);
  return true;
}

}  // namespace vmeter
