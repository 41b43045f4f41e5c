#pragma once
// A profile file's text read the way GetPrivateProfileStringA reads it (checked against the
// system by profile_text_wtest), for the skin tests and harness:
// lines cut at line feeds and trimmed; "[name]" up to the last ']' opens a section; a line's key
// runs to its first '=' (the whole line when there is none) and is trimmed, the value follows,
// trimmed. Names compare without regard to ASCII case, and the first section and the first key
// of a name are the ones found. A value in matching single or double quotes loses them; a value
// ends at a NUL and at 4095 characters, as the skin panel's buffer takes it.
#include <string>
#include <string_view>
#include <vector>

#include "skin/skin_file.h"

class ProfileText {
 public:
  explicit ProfileText(std::string text);
  // The file's whole text; empty when it cannot be read.
  static ProfileText FromFile(const std::string& path);
  // It holds views into its own text.
  ProfileText(const ProfileText&) = delete;
  ProfileText& operator=(const ProfileText&) = delete;
  std::string Read(std::string_view section, std::string_view key) const;
  SkinProfileReader Reader() const;

 private:
  struct Entry {
    std::string_view key;
    std::string_view value;
  };
  struct Section {
    std::string_view name;
    std::vector<Entry> entries;
  };

  std::string text_;
  std::vector<Section> sections_;
};
