#include "support/in_memory_ini.h"

#include <cctype>
#include <fstream>
#include <sstream>

namespace {

std::string Upper(std::string text) {
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

std::string Trim(const std::string& text) {
  size_t begin = text.find_first_not_of(" \t\r");
  if (begin == std::string::npos) return "";
  size_t end = text.find_last_not_of(" \t\r");
  return text.substr(begin, end - begin + 1);
}

std::string Slot(const std::string& section, const std::string& key) {
  return Upper(section) + "\n" + Upper(key);
}

}  // namespace

InMemoryIni::InMemoryIni(const std::string& text) {
  std::istringstream lines(text);
  std::string line;
  std::string section;
  while (std::getline(lines, line)) {
    line = Trim(line);
    if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
      section = line.substr(1, line.size() - 2);
      continue;
    }
    size_t equals = line.find('=');
    if (equals == std::string::npos || line[0] == ';') continue;
    Set(section, Trim(line.substr(0, equals)), Trim(line.substr(equals + 1)));
  }
}

InMemoryIni InMemoryIni::FromFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::stringstream text;
  text << file.rdbuf();
  return InMemoryIni(text.str());
}

void InMemoryIni::Set(const std::string& section, const std::string& key,
                      const std::string& value) {
  values_[Slot(section, key)] = value;
}

SkinProfileReader InMemoryIni::Reader() {
  return [this](const char* section, const char* key) {
    keysRead_.push_back(key);
    auto found = values_.find(Slot(section, key));
    return found == values_.end() ? std::string() : found->second;
  };
}
