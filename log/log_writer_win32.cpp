#include "log/log_writer.h"

#include <windows.h>

#include <shlobj.h>

#include <atomic>
#include <cstdio>
#include <string>
#include <vector>

#include "log/event_log.h"
#include "log/log_clock.h"
#include "log/log_rotation.h"

namespace {

// Process-wide state of the log's writer.
struct LogWriter {
  char folder[MAX_PATH] = {};
  char path[MAX_PATH] = {};
  char oldPath[MAX_PATH] = {};
  HANDLE wake = nullptr;  // auto-reset: set for every line queued
  HANDLE thread = nullptr;
  std::atomic<bool> stopping{false};
};

LogWriter logWriter;

// %LOCALAPPDATA% as the user's environment has it, else as the shell knows it.
bool FindLocalAppData(char* base, size_t size) {
  DWORD length = GetEnvironmentVariableA("LOCALAPPDATA", base, static_cast<DWORD>(size));
  if (length > 0 && length < size) return true;
  return SUCCEEDED(SHGetFolderPathA(nullptr, CSIDL_LOCAL_APPDATA, nullptr, 0, base));
}

bool FormPaths() {
  char base[MAX_PATH];
  if (!FindLocalAppData(base, sizeof base)) return false;
  int length = snprintf(logWriter.folder, sizeof logWriter.folder, "%s\\Velquin\\Torvex", base);
  if (length <= 0 || static_cast<size_t>(length) + 16 >= sizeof logWriter.folder) {
    logWriter.folder[0] = '\0';
    return false;
  }
  snprintf(logWriter.path, sizeof logWriter.path, "%s\\torvex.log", logWriter.folder);
  snprintf(logWriter.oldPath, sizeof logWriter.oldPath, "%s\\torvex.old.log", logWriter.folder);
  return true;
}

// Appends only, so that the crash report and the writer may write at once without overwriting
// each other; shared for deletion, so that the user may delete or rotate the file meanwhile.
HANDLE OpenLogFile() {
  auto open = [] {
    return CreateFileA(logWriter.path, FILE_APPEND_DATA,
                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
  };
  HANDLE file = open();
  if (file != INVALID_HANDLE_VALUE || GetLastError() != ERROR_PATH_NOT_FOUND) return file;
  SHCreateDirectoryExA(nullptr, logWriter.folder, nullptr);
  return open();
}

uint64_t FileBytes(HANDLE file) {
  LARGE_INTEGER size{};
  return GetFileSizeEx(file, &size) ? static_cast<uint64_t>(size.QuadPart) : 0;
}

// Moves a full log aside; returns the new file, or none when the old one could not be moved (the
// rest of the lines are then lost rather than let the file grow without end).
HANDLE Rotate(HANDLE file, uint64_t& bytes, size_t lineBytes) {
  CloseHandle(file);
  MoveFileExA(logWriter.path, logWriter.oldPath, MOVEFILE_REPLACE_EXISTING);
  file = OpenLogFile();
  if (file == INVALID_HANDLE_VALUE) return file;
  bytes = FileBytes(file);
  if (!RotationDue(bytes, lineBytes)) return file;
  CloseHandle(file);
  return INVALID_HANDLE_VALUE;
}

void WriteLines(const std::vector<std::string>& lines) {
  if (lines.empty() || logWriter.path[0] == '\0') return;
  HANDLE file = OpenLogFile();
  if (file == INVALID_HANDLE_VALUE) return;
  uint64_t bytes = FileBytes(file);
  for (const std::string& line : lines) {
    if (RotationDue(bytes, line.size())) {
      file = Rotate(file, bytes, line.size());
      if (file == INVALID_HANDLE_VALUE) return;
    }
    DWORD written = 0;
    if (!WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr)) break;
    bytes += written;
  }
  CloseHandle(file);
}

void WakeWriter() {
  SetEvent(logWriter.wake);
}

DWORD WINAPI WriterMain(LPVOID) {
  for (;;) {
    WaitForSingleObject(logWriter.wake, INFINITE);
    // Read before the lines are taken: a line logged while this round was writing, just before
    // the stop, is then still taken by a last round instead of being left in the queue.
    bool stopping = logWriter.stopping.load();
    std::vector<std::string> lines;
    TakeLoggedLines(lines);
    WriteLines(lines);
    if (stopping) return 0;
  }
}

}  // namespace

void StartEventLog() {
  if (logWriter.thread || !FormPaths()) return;
  logWriter.wake = CreateEventA(nullptr, FALSE, TRUE, nullptr);  // set: write what waits
  if (!logWriter.wake) return;
  logWriter.thread = CreateThread(nullptr, 0, WriterMain, nullptr, 0, nullptr);
  if (!logWriter.thread) return;
  std::lock_guard<std::mutex> holding(eventLog.lock);
  eventLog.wakeWriter = WakeWriter;
}

void StopEventLog(uint32_t timeoutMs) {
  if (!logWriter.thread || logWriter.stopping.exchange(true)) return;
  {
    std::lock_guard<std::mutex> holding(eventLog.lock);
    eventLog.wakeWriter = nullptr;
  }
  SetEvent(logWriter.wake);
  WaitForSingleObject(logWriter.thread, timeoutMs);
}

const char* EventLogFolder() {
  return logWriter.folder;
}

void WriteEventLogNow(const char* lastText) {
  std::vector<std::string> lines;
  TakeLoggedLines(lines, false);
  lines.push_back(FormatLogLine(ReadLocalLogTime(), lastText));
  WriteLines(lines);
}
