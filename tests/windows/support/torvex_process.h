#pragma once
// Runs the real torvex.exe for an end-to-end test: in a folder of its own (with the virtual
// meter and the skin beside it), finds its windows, dialogs and message boxes, and always ends it.
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

// A torvex.exe already in place, such as an installed one: run from its folder as it is.
struct InstalledProgram {
  std::string folder;
};

// The captions of the program's dialogs, and the classes of its dialogs and pop-up menus.
constexpr char SEARCH_CAPTION[] = "Choose a Device...";
constexpr char ABOUT_CAPTION[] = "About Torvex";
constexpr char SETUP_CAPTION[] = "Display Information Setup";
constexpr char FAN_CAPTION[] = "Fan Speed & Backlight Control";
constexpr char DIALOG_CLASS[] = "#32770";  // dialogs and message boxes
constexpr char MENU_CLASS[] = "#32768";    // pop-up menus

class TorvexProcess {
 public:
  // Prepares build/windows/bin/e2e/<name>/ with copies of torvex.exe, CH341DLL.DLL and skin/,
  // and an empty LocalAppData/ there that the program is given as its %LOCALAPPDATA%: its event
  // log and crash dumps stay with the test.
  explicit TorvexProcess(const std::string& name);
  // Copies nothing.
  explicit TorvexProcess(const InstalledProgram& installed) : folder(installed.folder) {}
  ~TorvexProcess();
  TorvexProcess(const TorvexProcess&) = delete;
  TorvexProcess& operator=(const TorvexProcess&) = delete;

  const std::string& Folder() const { return folder; }
  // The program's %LOCALAPPDATA% (empty for an installed program, which keeps the prefix's), and
  // the folder of its event log there.
  const std::string& AppDataFolder() const { return appData; }
  std::string LogFolder() const { return appData + "\\Velquin\\Torvex"; }

  // Takes on the one torvex.exe running, which another program (a setup) started, as if this
  // object had started it, after ending any earlier run of this object. False when none runs.
  bool Adopt();

  // Starts torvex.exe with TORVEX_VMETER set to `scenarioPath` (empty: unset), in
  // `workingFolder` (empty: the program's own folder), after ending any earlier run of this
  // object.
  bool Start(const std::string& scenarioPath, const std::string& workingFolder = "");

  // The visible top-level windows of the process whose class and caption match (empty: any).
  std::vector<HWND> FindWindows(const char* className, const char* caption) const;
  // Waits until such a window exists; null on timeout.
  HWND WaitForWindow(const char* className, const char* caption, DWORD timeoutMs) const;
  HWND MainWindow(DWORD timeoutMs = 10000) const;
  // A message box or dialog (class #32770) with this caption.
  HWND WaitForDialog(const char* caption, DWORD timeoutMs = 10000) const;
  // Waits for a message box and returns its text (empty on timeout); `box` receives its handle.
  std::string WaitForMessageBox(HWND* box, DWORD timeoutMs = 10000) const;

  bool IsRunning() const;
  // The process's private memory in bytes (0 when it cannot be read).
  size_t PrivateBytes() const;
  // Waits for the process to end; its exit code, or nothing on timeout.
  std::optional<DWORD> WaitForExit(DWORD timeoutMs = 5000) const;
  // Ends the process the way the user would: brings a hidden main window back from the
  // notification area (so no icon is left behind) and gives the quit command. Kills it when it
  // has not ended 5 s later. Its exit code, or nothing when it had to be killed or never ran.
  std::optional<DWORD> Quit();
  void Kill();

 private:
  void CloseHandles();

  std::string folder;
  std::string appData;
  PROCESS_INFORMATION process{};
};

// Removes a folder and everything in it.
void DeleteTree(const std::string& folder);

// Text helpers for windows of another process.
std::string WindowText(HWND window);
std::string ClassNameOf(HWND window);
// The items of a combo box of another process, in list order.
std::vector<std::string> ComboItems(HWND combo);
