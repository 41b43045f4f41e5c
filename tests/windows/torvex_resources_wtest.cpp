// The resources of the shipped files as Windows, Explorer and installers read them: the About
// box's template.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

std::string BesideTest(const char* name) {
  char path[MAX_PATH];
  DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder(path, length);
  return folder.substr(0, folder.find_last_of('\\') + 1) + name;
}

// A file loaded as data only: its resources, without running or linking it.
class ResourceFile {
 public:
  explicit ResourceFile(const std::string& path)
      : module_(LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE)) {}
  ~ResourceFile() {
    if (module_) FreeLibrary(module_);
  }
  ResourceFile(const ResourceFile&) = delete;
  ResourceFile& operator=(const ResourceFile&) = delete;

  // The bytes of one resource; empty when it is missing.
  std::vector<uint8_t> Read(const char* type, const char* name) const {
    HRSRC found = module_ ? FindResourceA(module_, name, type) : nullptr;
    HGLOBAL loaded = found ? LoadResource(module_, found) : nullptr;
    auto* bytes = loaded ? static_cast<const uint8_t*>(LockResource(loaded)) : nullptr;
    if (!bytes) return {};
    return std::vector<uint8_t>(bytes, bytes + SizeofResource(module_, found));
  }

 private:
  HMODULE module_;
};

// One control of a DIALOG (not DIALOGEX) template.
struct DialogItem {
  DWORD style = 0;
  short x = 0, y = 0, cx = 0, cy = 0;
  std::string className;  // "#130" for an ordinal class
  std::string title;
};

// Reads a DLGTEMPLATE and its items; an item list cut short by the end of the data stops there.
class DialogTemplateReader {
 public:
  explicit DialogTemplateReader(const std::vector<uint8_t>& bytes) : bytes_(bytes) {}

  std::vector<DialogItem> Items() {
    DWORD style = Dword();
    Skip(4);  // extended style
    WORD count = Word();
    Skip(8);          // x, y, cx, cy
    NameOrOrdinal();  // menu
    NameOrOrdinal();  // class
    NameOrOrdinal();  // caption
    if (style & DS_SETFONT) {
      Skip(2);
      NameOrOrdinal();
    }
    std::vector<DialogItem> items;
    for (WORD i = 0; i < count && !failed_; ++i) {
      at_ = (at_ + 3) & ~size_t{3};
      DialogItem item;
      item.style = Dword();
      Skip(4);
      item.x = static_cast<short>(Word());
      item.y = static_cast<short>(Word());
      item.cx = static_cast<short>(Word());
      item.cy = static_cast<short>(Word());
      Skip(2);  // id
      item.className = NameOrOrdinal();
      item.title = NameOrOrdinal();
      Skip(Word());  // creation data
      if (!failed_) items.push_back(item);
    }
    return items;
  }

 private:
  WORD Word() {
    if (at_ + 2 > bytes_.size()) {
      failed_ = true;
      return 0;
    }
    WORD value = static_cast<WORD>(bytes_[at_] | bytes_[at_ + 1] << 8);
    at_ += 2;
    return value;
  }
  DWORD Dword() {
    DWORD low = Word();
    return low | DWORD{Word()} << 16;
  }
  void Skip(size_t count) { at_ += count; }
  // A zero-terminated UTF-16 name (ASCII here), or 0xFFFF and an ordinal, shown as "#ordinal".
  std::string NameOrOrdinal() {
    WORD first = Word();
    if (first == 0xFFFF) return "#" + std::to_string(Word());
    std::string name;
    for (WORD unit = first; unit != 0 && !failed_; unit = Word()) name += static_cast<char>(unit);
    return name;
  }

  const std::vector<uint8_t>& bytes_;
  size_t at_ = 0;
  bool failed_ = false;
};

TEST(TorvexResources, AboutTemplateHoldsTheIconAtItsPlaceAndSize) {
  ResourceFile program(BesideTest("torvex.exe"));
  std::vector<uint8_t> about = program.Read(RT_DIALOG, "ABOUT");
  ASSERT_FALSE(about.empty());
  std::vector<DialogItem> items = DialogTemplateReader(about).Items();
  ASSERT_EQ(items.size(), 3u);
  const DialogItem& icon = items[0];
  // The predefined static class, by ordinal or by name.
  EXPECT_TRUE(icon.className == "#130" || _stricmp(icon.className.c_str(), "Static") == 0)
      << icon.className;
  EXPECT_EQ(icon.style & SS_TYPEMASK, DWORD{SS_ICON});
  EXPECT_EQ(icon.style & WS_VISIBLE, DWORD{WS_VISIBLE});
  EXPECT_EQ(_stricmp(icon.title.c_str(), "icon2"), 0) << icon.title;
  EXPECT_EQ(icon.x, 12);
  EXPECT_EQ(icon.y, 14);
  EXPECT_EQ(icon.cx, 20);
  EXPECT_EQ(icon.cy, 20);
}

}  // namespace
