#include "support/profile_text.h"

#include <cstddef>
#include <fstream>
#include <iterator>
#include <utility>

namespace {

constexpr size_t VALUE_LIMIT = 4095;

bool IsProfileSpace(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

std::string_view Trim(std::string_view text) {
  while (!text.empty() && IsProfileSpace(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsProfileSpace(text.back())) text.remove_suffix(1);
  return text;
}

char FoldAscii(char c) {
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (FoldAscii(a[i]) != FoldAscii(b[i])) return false;
  }
  return true;
}

std::string_view Unquote(std::string_view value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front()) {
    value = value.substr(1, value.size() - 2);
  }
  return value;
}

}  // namespace

ProfileText::ProfileText(std::string text) : text_(std::move(text)) {
  std::string_view rest = text_;
  sections_.push_back(Section{});  // lines before any header belong to no section one can name
  while (!rest.empty()) {
    size_t end = rest.find('\n');
    std::string_view line = Trim(rest.substr(0, end));
    rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
    if (line.empty()) continue;
    size_t close = line.rfind(']');
    if (line.front() == '[' && close != std::string_view::npos) {
      sections_.push_back(Section{line.substr(1, close - 1), {}});
      continue;
    }
    size_t equals = line.find('=');
    std::string_view key = Trim(line.substr(0, equals));
    std::string_view value =
        equals == std::string_view::npos ? std::string_view() : Trim(line.substr(equals + 1));
    sections_.back().entries.push_back(Entry{key, value});
  }
}

ProfileText ProfileText::FromFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return ProfileText(
      std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>()));
}

std::string ProfileText::Read(std::string_view section, std::string_view key) const {
  for (size_t i = 1; i < sections_.size(); ++i) {
    if (!SameName(sections_[i].name, section)) continue;
    for (const Entry& entry : sections_[i].entries) {
      if (!SameName(entry.key, key)) continue;
      std::string_view value = Unquote(entry.value);
      value = value.substr(0, value.find('\0'));
      return std::string(value.substr(0, VALUE_LIMIT));
    }
    return std::string();
  }
  return std::string();
}

SkinProfileReader ProfileText::Reader() const {
  return [this](const char* section, const char* key) { return Read(section, key); };
}
