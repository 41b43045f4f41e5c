#include "support/meter_log_record.h"

#include <cctype>
#include <cstdlib>

namespace {

class FlatJsonReader {
 public:
  explicit FlatJsonReader(const std::string& text) : text_(text) {}

  // Reads the whole object into `members`, numbers as their digits.
  bool Read(std::map<std::string, std::string>& members, std::map<std::string, bool>& isText) {
    SkipSpace();
    if (!Take('{')) return false;
    SkipSpace();
    if (Take('}')) return AtEnd();
    for (;;) {
      std::string key;
      std::string value;
      SkipSpace();
      if (!ReadString(key)) return false;
      SkipSpace();
      if (!Take(':')) return false;
      SkipSpace();
      bool text = Peek() == '"';
      if (text ? !ReadString(value) : !ReadNumber(value)) return false;
      members[key] = value;
      isText[key] = text;
      SkipSpace();
      if (Take('}')) return AtEnd();
      if (!Take(',')) return false;
    }
  }

 private:
  char Peek() const { return position_ < text_.size() ? text_[position_] : '\0'; }
  bool Take(char c) {
    if (Peek() != c) return false;
    ++position_;
    return true;
  }
  void SkipSpace() {
    while (position_ < text_.size() && std::isspace(static_cast<unsigned char>(Peek()))) {
      ++position_;
    }
  }
  bool AtEnd() {
    SkipSpace();
    return position_ == text_.size();
  }

  bool ReadNumber(std::string& digits) {
    size_t start = position_;
    if (Peek() == '-') ++position_;
    while (std::isdigit(static_cast<unsigned char>(Peek()))) ++position_;
    digits = text_.substr(start, position_ - start);
    return !digits.empty() && digits != "-";
  }

  bool ReadString(std::string& value) {
    if (!Take('"')) return false;
    for (;;) {
      if (position_ >= text_.size()) return false;
      char c = text_[position_++];
      if (c == '"') return true;
      if (c != '\\') {
        value += c;
        continue;
      }
      if (!ReadEscape(value)) return false;
    }
  }

  bool ReadEscape(std::string& value) {
    char c = Peek();
    ++position_;
    switch (c) {
      case '"':
      case '\\':
      case '/':
        value += c;
        return true;
      case 'n':
        value += '\n';
        return true;
      case 't':
        value += '\t';
        return true;
      case 'r':
        value += '\r';
        return true;
      case 'u': {
        if (position_ + 4 > text_.size()) return false;
        std::string hex = text_.substr(position_, 4);
        position_ += 4;
        char* end = nullptr;
        long code = std::strtol(hex.c_str(), &end, 16);
        if (*end != '\0') return false;
        value += code < 0x100 ? static_cast<char>(code) : '?';
        return true;
      }
      default:
        return false;
    }
  }

  const std::string& text_;
  size_t position_ = 0;
};

void TakeNumber(const std::map<std::string, std::string>& members,
                const std::map<std::string, bool>& isText, const char* key,
                std::optional<int64_t>& field) {
  auto found = members.find(key);
  if (found == members.end() || isText.at(key)) return;
  field = std::strtoll(found->second.c_str(), nullptr, 10);
}

void TakeText(const std::map<std::string, std::string>& members, const char* key,
              std::string& field) {
  auto found = members.find(key);
  if (found != members.end()) field = found->second;
}

}  // namespace

bool ParseMeterLogRecord(const std::string& line, MeterLogRecord& record) {
  std::map<std::string, std::string> members;
  std::map<std::string, bool> isText;
  if (!FlatJsonReader(line).Read(members, isText)) return false;
  record = MeterLogRecord{};
  std::optional<int64_t> tMs;
  TakeNumber(members, isText, "t_ms", tMs);
  if (!tMs) return false;
  record.tMs = *tMs;
  TakeText(members, "call", record.call);
  TakeNumber(members, isText, "index", record.index);
  TakeNumber(members, isText, "result", record.result);
  TakeNumber(members, isText, "exclusive", record.exclusive);
  TakeNumber(members, isText, "status", record.status);
  TakeNumber(members, isText, "routine", record.routine);
  TakeNumber(members, isText, "cmd", record.cmd);
  TakeNumber(members, isText, "value", record.value);
  TakeNumber(members, isText, "low", record.low);
  TakeNumber(members, isText, "high", record.high);
  TakeNumber(members, isText, "fan_mode", record.fanMode);
  TakeNumber(members, isText, "backlight", record.backlight);
  TakeNumber(members, isText, "fan", record.fan);
  TakeText(members, "frame", record.frame);
  TakeText(members, "error", record.error);
  TakeText(members, "fault", record.fault);
  TakeText(members, "packet", record.packet);
  TakeText(members, "inject", record.inject);
  TakeText(members, "scenario", record.scenario);
  TakeNumber(members, isText, "temperature", record.temperature);
  TakeNumber(members, isText, "present", record.present);
  TakeNumber(members, isText, "handles", record.handles);
  TakeNumber(members, isText, "wine_spooler_mutexes", record.wineSpoolerMutexes);
  TakeNumber(members, isText, "gdi", record.gdi);
  TakeNumber(members, isText, "user", record.user);
  TakeNumber(members, isText, "private_kb", record.privateKb);
  TakeNumber(members, isText, "working_set_kb", record.workingSetKb);
  record.fields = members;
  return true;
}
