#include "windows/support/torvex_process.h"

#include <psapi.h>
#include <shellapi.h>
#include <tlhelp32.h>

#include <cstdio>

#include "app/commands.h"
#include "windows/support/condition_wait.h"

namespace {

std::string ExeFolder() {
  char path[MAX_PATH];
  DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder(path, length);
  return folder.substr(0, folder.find_last_of('\\'));
}

void CopyTree(const std::string& from, const std::string& to) {
  CreateDirectoryA(to.c_str(), nullptr);
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((from + "\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    std::string name = found.cFileName;
    if (name == "." || name == "..") continue;
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
      CopyTree(from + "\\" + name, to + "\\" + name);
    else
      CopyFileA((from + "\\" + name).c_str(), (to + "\\" + name).c_str(), FALSE);
  } while (FindNextFileA(search, &found));
  FindClose(search);
}

struct WindowSearch {
  DWORD processId;
  const char* className;
  const char* caption;
  bool hiddenToo;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM parameter) {
  WindowSearch& search = *reinterpret_cast<WindowSearch*>(parameter);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner != search.processId) return TRUE;
  if (!search.hiddenToo && !IsWindowVisible(window)) return TRUE;
  if (search.className && ClassNameOf(window) != search.className) return TRUE;
  if (search.caption && WindowText(window) != search.caption) return TRUE;
  search.found.push_back(window);
  return TRUE;
}

}  // namespace

void DeleteTree(const std::string& folder) {
  std::string from = folder + '\0';  // the list of one that SHFileOperation takes
  SHFILEOPSTRUCTA operation{};
  operation.wFunc = FO_DELETE;
  operation.pFrom = from.c_str();
  operation.fFlags = FOF_NO_UI;
  SHFileOperationA(&operation);
}

std::string WindowText(HWND window) {
  char text[1024] = {};
  SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text),
                      SMTO_ABORTIFHUNG, 2000, nullptr);
  return text;
}

std::string ClassNameOf(HWND window) {
  char name[256] = {};
  GetClassNameA(window, name, sizeof name);
  return name;
}

std::vector<std::string> ComboItems(HWND combo) {
  std::vector<std::string> items;
  LRESULT count = SendMessageA(combo, CB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    // Across processes CB_GETLBTEXT comes back in UTF-16 under Wine: ask in wide characters.
    wchar_t wide[256] = {};
    SendMessageW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(wide));
    char text[256] = {};
    WideCharToMultiByte(CP_ACP, 0, wide, -1, text, sizeof text, nullptr, nullptr);
    items.push_back(text);
  }
  return items;
}

TorvexProcess::TorvexProcess(const std::string& name) {
  std::string bin = ExeFolder();
  CreateDirectoryA((bin + "\\e2e").c_str(), nullptr);
  folder = bin + "\\e2e\\" + name;
  CreateDirectoryA(folder.c_str(), nullptr);
  CopyFileA((bin + "\\torvex.exe").c_str(), (folder + "\\torvex.exe").c_str(), FALSE);
  CopyFileA((bin + "\\CH341DLL.DLL").c_str(), (folder + "\\CH341DLL.DLL").c_str(), FALSE);
  CopyTree(bin + "\\skin", folder + "\\skin");
  appData = folder + "\\LocalAppData";
  DeleteTree(appData);
  CreateDirectoryA(appData.c_str(), nullptr);
}

TorvexProcess::~TorvexProcess() {
  Kill();
  CloseHandles();
}

void TorvexProcess::CloseHandles() {
  if (process.hProcess) CloseHandle(process.hProcess);
  if (process.hThread) CloseHandle(process.hThread);
  process = {};
}

bool TorvexProcess::Start(const std::string& scenarioPath, const std::string& workingFolder) {
  Kill();
  CloseHandles();
  SetEnvironmentVariableA("TORVEX_VMETER", scenarioPath.empty() ? nullptr : scenarioPath.c_str());
  // The program's own %LOCALAPPDATA%, for this start only; an installed one keeps the prefix's.
  static const std::string shared = [] {
    char path[MAX_PATH] = {};
    GetEnvironmentVariableA("LOCALAPPDATA", path, sizeof path);
    return std::string(path);
  }();
  SetEnvironmentVariableA("LOCALAPPDATA", (appData.empty() ? shared : appData).c_str());
  std::string exe = folder + "\\torvex.exe";
  char commandLine[MAX_PATH + 2];
  snprintf(commandLine, sizeof commandLine, "\"%s\"", exe.c_str());
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  const std::string& workIn = workingFolder.empty() ? folder : workingFolder;
  BOOL started = CreateProcessA(exe.c_str(), commandLine, nullptr, nullptr, FALSE, 0, nullptr,
                                workIn.c_str(), &startup, &process);
  SetEnvironmentVariableA("TORVEX_VMETER", nullptr);
  SetEnvironmentVariableA("LOCALAPPDATA", shared.c_str());
  return started != FALSE;
}

bool TorvexProcess::Adopt() {
  Kill();
  CloseHandles();
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  PROCESSENTRY32 entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32First(snapshot, &entry); more && !process.hProcess;
       more = Process32Next(snapshot, &entry)) {
    if (lstrcmpiA(entry.szExeFile, "torvex.exe") != 0) continue;
    process.hProcess = OpenProcess(PROCESS_ALL_ACCESS, FALSE, entry.th32ProcessID);
    process.dwProcessId = entry.th32ProcessID;
  }
  CloseHandle(snapshot);
  return process.hProcess != nullptr;
}

std::vector<HWND> TorvexProcess::FindWindows(const char* className, const char* caption) const {
  WindowSearch search{process.dwProcessId, className, caption, false, {}};
  EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND TorvexProcess::WaitForWindow(const char* className, const char* caption,
                                  DWORD timeoutMs) const {
  HWND found = nullptr;
  WaitUntil(
      [&] {
        std::vector<HWND> windows = FindWindows(className, caption);
        if (!windows.empty()) found = windows.front();
        return found != nullptr;
      },
      timeoutMs);
  return found;
}

HWND TorvexProcess::MainWindow(DWORD timeoutMs) const {
  return WaitForWindow("Torvex", "Velquin Torvex Ver 1.0", timeoutMs);
}

HWND TorvexProcess::WaitForDialog(const char* caption, DWORD timeoutMs) const {
  return WaitForWindow(DIALOG_CLASS, caption, timeoutMs);
}

std::string TorvexProcess::WaitForMessageBox(HWND* box, DWORD timeoutMs) const {
  // A box with no caption of its own is titled "Error" under Wine; its text is control 0xFFFF,
  // an id the SEARCH dialog's label has too.
  // A box seen while it is being made or closed has no text yet or any more: it is looked at again.
  HWND found = nullptr;
  std::string text;
  WaitUntil(
      [&] {
        for (HWND dialog : FindWindows(DIALOG_CLASS, nullptr)) {
          HWND label = GetDlgItem(dialog, 0xFFFF);
          if (!label || WindowText(dialog) == SEARCH_CAPTION) continue;
          text = WindowText(label);
          if (!text.empty()) found = dialog;
        }
        return found != nullptr;
      },
      timeoutMs);
  if (box) *box = found;
  return found ? text : std::string();
}

size_t TorvexProcess::PrivateBytes() const {
  PROCESS_MEMORY_COUNTERS_EX counters{};
  counters.cb = sizeof counters;
  if (!GetProcessMemoryInfo(process.hProcess, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                            sizeof counters)) {
    return 0;
  }
  return counters.PrivateUsage;
}

bool TorvexProcess::IsRunning() const {
  return process.hProcess && WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT;
}

std::optional<DWORD> TorvexProcess::WaitForExit(DWORD timeoutMs) const {
  if (!process.hProcess) return std::nullopt;
  if (WaitForSingleObject(process.hProcess, timeoutMs) != WAIT_OBJECT_0) return std::nullopt;
  DWORD exitCode = 0;
  if (!GetExitCodeProcess(process.hProcess, &exitCode)) return std::nullopt;
  return exitCode;
}

std::optional<DWORD> TorvexProcess::Quit() {
  // The main window may be hidden in the notification area: look for it among hidden ones too.
  WindowSearch search{process.dwProcessId, "Torvex", nullptr, true, {}};
  EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&search));
  for (HWND window : search.found) {
    if (!IsWindowVisible(window)) PostMessageA(window, TRAY_CALLBACK_MESSAGE, 1, WM_LBUTTONDBLCLK);
    PostMessageA(window, WM_COMMAND, COMMAND_QUIT, 0);
  }
  std::optional<DWORD> exitCode = WaitForExit();
  if (!exitCode) Kill();
  return exitCode;
}

void TorvexProcess::Kill() {
  if (IsRunning()) {
    TerminateProcess(process.hProcess, 99);
    WaitForSingleObject(process.hProcess, 5000);
  }
}
