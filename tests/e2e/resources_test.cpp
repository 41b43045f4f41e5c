// The resources of the shipped files as Windows, Explorer and installers read them: the version,
// the application manifest and what it turns on in the running program, the About box's template.
#include <windows.h>

#include <commctrl.h>
#include <tlhelp32.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "res/resource.h"
#include "res/version.h"
#include "windows/support/torvex_test.h"
#include "windows/support/user_input.h"

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

// A string of a version resource, in the first language and code page it declares.
std::string VersionString(const std::vector<char>& info, const char* name) {
  struct Translation {
    WORD language;
    WORD codePage;
  }* translation = nullptr;
  UINT size = 0;
  if (!VerQueryValueA(info.data(), "\\VarFileInfo\\Translation",
                      reinterpret_cast<void**>(&translation), &size) ||
      size < sizeof *translation)
    return "";
  char path[128];
  std::snprintf(path, sizeof path, "\\StringFileInfo\\%04x%04x\\%s", translation->language,
                translation->codePage, name);
  char* value = nullptr;
  if (!VerQueryValueA(info.data(), path, reinterpret_cast<void**>(&value), &size) || !value)
    return "";
  return value;
}

std::vector<char> ReadVersionInfo(const std::string& path) {
  DWORD ignored = 0;
  DWORD size = GetFileVersionInfoSizeA(path.c_str(), &ignored);
  std::vector<char> info(size);
  if (size == 0 || !GetFileVersionInfoA(path.c_str(), 0, size, info.data())) return {};
  return info;
}

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

TEST(TorvexResources, EachFileSaysWhatItIsAndWhichVersion) {
  struct Case {
    const char* file;
    const char* descriptionPart;
  };
  const Case cases[] = {{"torvex.exe", "Torvex"}, {"CH341DLL.DLL", "stand-in"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    std::vector<char> info = ReadVersionInfo(BesideTest(c.file));
    ASSERT_FALSE(info.empty());
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT size = 0;
    ASSERT_TRUE(VerQueryValueA(info.data(), "\\", reinterpret_cast<void**>(&fixed), &size));
    EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
    EXPECT_EQ(fixed->dwFileVersionMS, DWORD{MAKELONG(TORVEX_VERSION_MINOR, TORVEX_VERSION_MAJOR)});
    EXPECT_EQ(fixed->dwFileVersionLS, DWORD{MAKELONG(TORVEX_VERSION_BUILD, TORVEX_VERSION_PATCH)});
    EXPECT_EQ(fixed->dwProductVersionMS, fixed->dwFileVersionMS);
    EXPECT_EQ(fixed->dwProductVersionLS, fixed->dwFileVersionLS);
    EXPECT_EQ(VersionString(info, "FileVersion"), TORVEX_VERSION_TEXT);
    EXPECT_EQ(VersionString(info, "ProductVersion"), TORVEX_VERSION_TEXT);
    EXPECT_EQ(VersionString(info, "CompanyName"), "Velquin");
    EXPECT_EQ(VersionString(info, "ProductName"), "Velquin Torvex");
    EXPECT_EQ(VersionString(info, "OriginalFilename"), c.file);
    EXPECT_NE(VersionString(info, "FileDescription").find(c.descriptionPart), std::string::npos);
    EXPECT_NE(VersionString(info, "LegalCopyright").find("Velquin"), std::string::npos);
  }
}

// The notification area asks for 16 pixels at 100 %, 24 at 150 % and 32 at 200 %; the taskbar
// and Alt+Tab for 32 and 48: each is drawn, none stretched.
TEST(TorvexResources, TheIconHasAnImageForEveryCommonScale) {
  std::vector<uint8_t> group =
      ResourceFile(BesideTest("torvex.exe")).Read(RT_GROUP_ICON, APP_ICON_NAME);
  std::set<int> sizes;
  // After the 6-byte header, 14 bytes an image, its width first.
  for (size_t at = 6; at + 14 <= group.size(); at += 14) sizes.insert(group[at]);
  EXPECT_EQ(sizes, (std::set<int>{16, 24, 32, 48}));
}

TEST(TorvexResources, AboutTemplateHoldsTheIconAtItsPlaceAndSize) {
  ResourceFile program(BesideTest("torvex.exe"));
  std::vector<uint8_t> about = program.Read(RT_DIALOG, ABOUT_DIALOG_NAME);
  ASSERT_FALSE(about.empty());
  std::vector<DialogItem> items = DialogTemplateReader(about).Items();
  ASSERT_EQ(items.size(), 3u);
  const DialogItem& icon = items[0];
  // The predefined static class, by ordinal or by name.
  EXPECT_TRUE(icon.className == "#130" || _stricmp(icon.className.c_str(), "Static") == 0)
      << icon.className;
  EXPECT_EQ(icon.style & SS_TYPEMASK, DWORD{SS_ICON});
  EXPECT_EQ(icon.style & WS_VISIBLE, DWORD{WS_VISIBLE});
  EXPECT_EQ(_stricmp(icon.title.c_str(), APP_ICON_NAME), 0) << icon.title;
  EXPECT_EQ(icon.x, 12);
  EXPECT_EQ(icon.y, 14);
  EXPECT_EQ(icon.cx, 20);
  EXPECT_EQ(icon.cy, 20);
}

// The path of a module loaded in another process; empty when it is not loaded there.
std::string LoadedModule(DWORD processId, const char* name) {
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, processId);
  if (snapshot == INVALID_HANDLE_VALUE) return "";
  std::string path;
  MODULEENTRY32 module{};
  module.dwSize = sizeof module;
  for (BOOL more = Module32First(snapshot, &module); more && path.empty();
       more = Module32Next(snapshot, &module))
    if (_stricmp(module.szModule, name) == 0) path = module.szExePath;
  CloseHandle(snapshot);
  return path;
}

struct ClassSearch {
  DWORD processId;
  const char* className;
  HWND found;
};

BOOL CALLBACK MatchClass(HWND window, LPARAM parameter) {
  auto& search = *reinterpret_cast<ClassSearch*>(parameter);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner != search.processId || ClassNameOf(window) != search.className) return TRUE;
  search.found = window;
  return FALSE;
}

// A top-level window of the process with this class, shown or not.
HWND FindProcessWindow(DWORD processId, const char* className) {
  ClassSearch search{processId, className, nullptr};
  EnumWindows(MatchClass, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// One setting of the manifest's <windowsSettings>, as Windows reads it for torvex.exe; empty
// when the manifest does not parse or lacks it (Windows then ignores the setting in silence).
std::string WindowsSetting(const std::string& program, const wchar_t* nameSpace,
                           const wchar_t* name) {
  ACTCTXA context{};
  context.cbSize = sizeof context;
  context.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
  context.lpSource = program.c_str();
  context.lpResourceName = MAKEINTRESOURCEA(1);
  HANDLE handle = CreateActCtxA(&context);
  if (handle == INVALID_HANDLE_VALUE) return "";
  wchar_t value[64] = {};
  SIZE_T written = 0;
  bool found = QueryActCtxSettingsW(0, handle, nameSpace, name, value, 64, &written);
  ReleaseActCtx(handle);
  if (!found) return "";
  std::string narrow;
  for (const wchar_t* unit = value; *unit; ++unit) narrow += static_cast<char>(*unit);
  return narrow;
}

using TorvexRunning = TorvexTest;

TEST_F(TorvexRunning, ManifestIsReadAsMeantAndTheRunningProgramFollowsIt) {
  std::string path = BesideTest("torvex.exe");
  EXPECT_FALSE(ResourceFile(path).Read(RT_MANIFEST, MAKEINTRESOURCEA(1)).empty());
  // Aware of each monitor's DPI, with the older setting for Windows 7 and 8.1.
  EXPECT_EQ(
      WindowsSetting(path, L"http://schemas.microsoft.com/SMI/2005/WindowsSettings", L"dpiAware"),
      "true/pm");
  EXPECT_EQ(WindowsSetting(path, L"http://schemas.microsoft.com/SMI/2016/WindowsSettings",
                           L"dpiAwareness"),
            "PerMonitorV2");

  ASSERT_NE(StartInForeground(), nullptr);
  DWORD processId = 0;
  GetWindowThreadProcessId(window, &processId);
  // Version 6 is the side-by-side assembly; the system folder's comctl32 is version 5.
  std::string commonControls = LoadedModule(processId, "comctl32.dll");
  CharLowerA(&commonControls[0]);
  EXPECT_NE(commonControls.find("common-controls_6595b64144ccf1df_6."), std::string::npos)
      << commonControls;
  // Version 6 took every one of the skin's tools, each added with the 44-byte TOOLINFOA.
  HWND tooltip = FindProcessWindow(processId, "tooltips_class32");
  EXPECT_EQ(SendMessageA(tooltip, TTM_GETTOOLCOUNT, 0, 0), 4);
  // The About box's icon control finds "icon2".
  PressKey(VK_F1);
  HWND about = torvex.WaitForDialog(ABOUT_CAPTION);
  ASSERT_NE(about, nullptr);
  HWND icon = FindWindowExA(about, nullptr, "Static", nullptr);
  ASSERT_NE(icon, nullptr);
  EXPECT_NE(SendMessageA(icon, STM_GETICON, 0, 0), 0);
  PostMessageA(about, WM_COMMAND, IDOK, 0);
  EXPECT_TRUE(WaitUntil([&] { return torvex.FindWindows(DIALOG_CLASS, nullptr).empty(); }, 5000));
}

}  // namespace
