#pragma once
// A profile file held in memory, read as GetPrivateProfileStringA reads one: sections and keys
// matched without regard to letter case, a missing key read as "". Remembers the keys asked for.
#include <map>
#include <string>
#include <vector>

#include "skin/skin_file.h"

class InMemoryIni {
 public:
  // Lines "[section]" and "key=value"; anything else is passed over.
  explicit InMemoryIni(const std::string& text);
  static InMemoryIni FromFile(const std::string& path);

  void Set(const std::string& section, const std::string& key, const std::string& value);
  SkinProfileReader Reader();
  const std::vector<std::string>& keysRead() const { return keysRead_; }

 private:
  std::map<std::string, std::string> values_;  // "section\nkey", both upper-cased
  std::vector<std::string> keysRead_;
};
