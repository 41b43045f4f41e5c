// End to end: the per-user installer the build makes, run silently as a deployment tool runs it:
// into a folder of the user's own, again over a running copy, and out again.
#include <windows.h>

#include <shlobj.h>
#include <shobjidl.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <utility>

#include "res/version.h"
#include "support/bmp_file.h"
#include "windows/support/condition_wait.h"
#include "windows/support/settings_key.h"
#include "windows/support/torvex_process.h"

namespace {

constexpr char UNINSTALL_KEY[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Torvex";
constexpr char RUN_KEY[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr DWORD RUN_TIMEOUT_MS = 60000;

std::string TestFolder() {
  char path[MAX_PATH];
  DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string exe(path, length);
  return exe.substr(0, exe.find_last_of('\\'));
}

std::string SetupPath() {
  return TestFolder() + "\\..\\dist\\torvex-" TORVEX_VERSION_TEXT "-setup.exe";
}

// The setup's command line with `switches`, its path quoted.
std::string SetupCommand(const std::string& switches) {
  std::string command = "\"";
  command += SetupPath();
  command += "\" ";
  return command + switches;
}

std::string SpecialFolder(int csidl) {
  char path[MAX_PATH] = {};
  SHGetFolderPathA(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path);
  return path;
}

bool Exists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Runs a command line and waits until it and every process it started have ended (the
// uninstaller hands its work to a copy of itself and returns at once), or only the first one with
// `firstOnly` (a setup that starts the program again runs no longer than that). The first one's
// exit code, or -1 when it did not start or did not end.
int RunToTheEnd(std::string commandLine, bool firstOnly = false) {
  HANDLE job = CreateJobObjectA(nullptr, nullptr);
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!job || !CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, CREATE_SUSPENDED,
                              nullptr, nullptr, &startup, &process)) {
    if (job) CloseHandle(job);
    return -1;
  }
  AssignProcessToJobObject(job, process.hProcess);
  ResumeThread(process.hThread);
  DWORD exitCode = DWORD(-1);
  if (WaitForSingleObject(process.hProcess, RUN_TIMEOUT_MS) == WAIT_OBJECT_0)
    GetExitCodeProcess(process.hProcess, &exitCode);
  bool allEnded = WaitUntil(
      [&] {
        JOBOBJECT_BASIC_ACCOUNTING_INFORMATION accounting{};
        if (firstOnly) return true;
        return QueryInformationJobObject(job, JobObjectBasicAccountingInformation, &accounting,
                                         sizeof accounting, nullptr) &&
               accounting.ActiveProcesses == 0;
      },
      RUN_TIMEOUT_MS);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  CloseHandle(job);
  return allEnded ? static_cast<int>(exitCode) : -1;
}

std::optional<std::string> ReadUserString(const char* key, const char* name) {
  char value[1024] = {};
  DWORD size = sizeof value - 1;
  if (RegGetValueA(HKEY_CURRENT_USER, key, name, RRF_RT_REG_SZ, nullptr, value, &size) !=
      ERROR_SUCCESS)
    return std::nullopt;
  return std::string(value);
}

std::optional<DWORD> ReadUserDword(const char* key, const char* name) {
  DWORD value = 0;
  DWORD size = sizeof value;
  if (RegGetValueA(HKEY_CURRENT_USER, key, name, RRF_RT_REG_DWORD, nullptr, &value, &size) !=
      ERROR_SUCCESS)
    return std::nullopt;
  return value;
}

bool UserKeyExists(const char* key) {
  HKEY opened;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, key, 0, KEY_READ, &opened) != ERROR_SUCCESS) return false;
  RegCloseKey(opened);
  return true;
}

struct Shortcut {
  std::string target;
  std::string workingFolder;
};

// What a .lnk file points at, read through the shell as Explorer reads it.
std::optional<Shortcut> ReadShortcut(const std::string& path) {
  IShellLinkA* link = nullptr;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                              reinterpret_cast<void**>(&link))))
    return std::nullopt;
  std::optional<Shortcut> shortcut;
  IPersistFile* file = nullptr;
  wchar_t widePath[MAX_PATH] = {};
  MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, widePath, MAX_PATH);
  if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))) &&
      SUCCEEDED(file->Load(widePath, STGM_READ))) {
    char target[MAX_PATH] = {};
    char folder[MAX_PATH] = {};
    link->GetPath(target, MAX_PATH, nullptr, SLGP_RAWPATH);
    link->GetWorkingDirectory(folder, MAX_PATH);
    shortcut = Shortcut{target, folder};
  }
  if (file) file->Release();
  link->Release();
  return shortcut;
}

void RemoveFolder(const std::string& folder) {
  std::string from = folder + '\0';  // a list of one, closed by a second null
  SHFILEOPSTRUCTA operation{};
  operation.wFunc = FO_DELETE;
  operation.pFrom = from.c_str();
  operation.fFlags = FOF_NO_UI;
  SHFileOperationA(&operation);
}

class TorvexInstall : public ::testing::Test {
 protected:
  void SetUp() override {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    // A space in the path: the Run value and the uninstall strings must quote it.
    parent = std::string(temp) + "torvex setup test";
    folder = parent + "\\Torvex";
    shortcut = SpecialFolder(CSIDL_PROGRAMS) + "\\Torvex.lnk";
    RemoveTraces();
  }
  void TearDown() override {
    RemoveTraces();
    CoUninitialize();
  }

  // What a failed run may leave, so that the next one starts from a clean profile.
  void RemoveTraces() {
    RemoveFolder(parent);
    DeleteFileA(shortcut.c_str());
    RegDeleteKeyA(HKEY_CURRENT_USER, UNINSTALL_KEY);
    HKEY run;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, RUN_KEY, 0, KEY_SET_VALUE, &run) == ERROR_SUCCESS) {
      RegDeleteValueA(run, "Torvex");
      RegCloseKey(run);
    }
    DeleteSettingsKey();
  }

  std::string parent;
  std::string folder;
  std::string shortcut;
};

TEST_F(TorvexInstall, InstallsUpgradesOverARunningCopyAndUninstallsKeepingTheSettings) {
  ASSERT_TRUE(Exists(SetupPath())) << "no installer: is makensis installed? "
                                      "(scripts/install-deps.sh)";
  const std::string exe = folder + "\\torvex.exe";
  const std::string uninstaller = folder + "\\uninstall.exe";

  // A first install, without the sign-in start.
  ASSERT_EQ(RunToTheEnd(SetupCommand("/S /D=" + folder)), 0);
  for (const char* file : {"torvex.exe", "README.txt", "uninstall.exe", "skin\\skin.ini"})
    EXPECT_TRUE(Exists(folder + "\\" + file)) << file;
  EXPECT_FALSE(Exists(folder + "\\CH341DLL.DLL")) << "it would shadow the driver's library";
  std::optional<Shortcut> link = ReadShortcut(shortcut);
  ASSERT_TRUE(link.has_value());
  EXPECT_EQ(link->target, exe);
  EXPECT_EQ(link->workingFolder, folder);
  const std::pair<const char*, std::string> entry[] = {
      {"DisplayName", "Velquin Torvex"},
      {"DisplayVersion", TORVEX_VERSION_TEXT},
      {"Publisher", "Velquin"},
      {"DisplayIcon", exe + ",0"},
      {"InstallLocation", folder},
      {"UninstallString", "\"" + uninstaller + "\""},
      {"QuietUninstallString", "\"" + uninstaller + "\" /S"},
  };
  for (const auto& [name, value] : entry) EXPECT_EQ(ReadUserString(UNINSTALL_KEY, name), value);
  WIN32_FILE_ATTRIBUTE_DATA program{};
  ASSERT_TRUE(GetFileAttributesExA(exe.c_str(), GetFileExInfoStandard, &program));
  EXPECT_GE(ReadUserDword(UNINSTALL_KEY, "EstimatedSize").value_or(0), program.nFileSizeLow / 1024);
  EXPECT_FALSE(ReadUserString(RUN_KEY, "Torvex").has_value());

  // The installed program started as the Run key starts it: from the system folder. Nothing
  // beside it stands in for the driver's library, which this prefix lacks.
  TorvexProcess torvex(InstalledProgram{folder});
  ASSERT_TRUE(torvex.Start("", SpecialFolder(CSIDL_SYSTEM)));
  HWND box = nullptr;
  EXPECT_EQ(torvex.WaitForMessageBox(&box), "Not Found Velquin Torvex!\n");
  // At that message it has no window yet to ask to quit, and its program file is locked: a
  // silent upgrade fails rather than skip the file and report success.
  EXPECT_NE(RunToTheEnd(SetupCommand("/S")), 0);
  EXPECT_TRUE(torvex.IsRunning());
  PostMessageA(box, WM_COMMAND, IDOK, 0);
  HWND window = torvex.MainWindow();
  ASSERT_NE(window, nullptr);
  BmpSize background;
  ASSERT_TRUE(ReadBmpSize(folder + "\\skin\\background1.bmp", &background));
  RECT rect{};
  GetWindowRect(window, &rect);
  EXPECT_EQ(rect.right - rect.left, background.width);
  EXPECT_EQ(rect.bottom - rect.top, background.height);

  // An upgrade in place over the running copy (no /D: it finds the first install), now with the
  // sign-in start. The running copy is asked to quit, and saves its settings as it does; the new
  // one is started in its place.
  const int upgraded = RunToTheEnd(SetupCommand("/S /AUTOSTART"), true);
  TorvexProcess restarted(InstalledProgram{folder});
  const bool wasRestarted = restarted.Adopt();
  ASSERT_EQ(upgraded, 0);
  EXPECT_EQ(torvex.WaitForExit(0), 1u) << "ended by its own quit command";
  EXPECT_TRUE(ReadSettingsValue("Window Postion").has_value());
  EXPECT_TRUE(Exists(exe));
  EXPECT_EQ(ReadUserString(RUN_KEY, "Torvex"), "\"" + exe + "\"");
  ASSERT_TRUE(wasRestarted);
  EXPECT_EQ(restarted.WaitForMessageBox(&box), "Not Found Velquin Torvex!\n");
  PostMessageA(box, WM_COMMAND, IDOK, 0);
  ASSERT_NE(restarted.MainWindow(), nullptr);

  // A silent uninstall, as Windows runs it: it closes the running copy and starts none.
  std::optional<std::string> quiet = ReadUserString(UNINSTALL_KEY, "QuietUninstallString");
  ASSERT_TRUE(quiet.has_value());
  ASSERT_EQ(RunToTheEnd(*quiet), 0);
  EXPECT_EQ(restarted.WaitForExit(0), 1u);
  EXPECT_FALSE(Exists(folder));
  EXPECT_FALSE(Exists(shortcut));
  EXPECT_FALSE(ReadUserString(RUN_KEY, "Torvex").has_value());
  EXPECT_FALSE(UserKeyExists(UNINSTALL_KEY));
  EXPECT_TRUE(ReadSettingsValue("Window Postion").has_value()) << "the settings stay";
}

}  // namespace
