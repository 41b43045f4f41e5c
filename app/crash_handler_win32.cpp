#include "app/crash_handler.h"

#include <windows.h>

#include <dbghelp.h>

#include <atomic>
#include <cstdio>
#include <exception>
#include <string>

#include "app/crash_report.h"
#include "log/log_clock.h"
#include "log/log_writer.h"

namespace {

// How long the report may take before the process ends all the same: a dump of this small
// process takes well under a second, so a longer wait means the report itself is stuck.
constexpr DWORD CRASH_REPORT_WAIT_MS = 15000;

using MiniDumpWriter = BOOL(WINAPI*)(HANDLE, DWORD, HANDLE, MINIDUMP_TYPE,
                                     PMINIDUMP_EXCEPTION_INFORMATION,
                                     PMINIDUMP_USER_STREAM_INFORMATION,
                                     PMINIDUMP_CALLBACK_INFORMATION);

// Process-wide state of the crash handler: which thread crashed first, and which one reports it.
// A second exception on either of them ends the process at once; one on any other thread waits
// for the report to end the process.
struct CrashHandler {
  std::atomic<DWORD> crashedThread{0};
  std::atomic<DWORD> reportingThread{0};
  EXCEPTION_POINTERS* exception = nullptr;
};

CrashHandler crashHandler;

std::string InLogFolder(const std::string& name) {
  return std::string(EventLogFolder()) + "\\" + name;
}

// dbghelp.dll is loaded only now: a run that never crashes never maps it.
bool WriteMiniDump(const std::string& path) {
  HMODULE dbghelp = LoadLibraryA("dbghelp.dll");
  FARPROC entry = dbghelp ? GetProcAddress(dbghelp, "MiniDumpWriteDump") : nullptr;
  if (!entry) return false;
  auto writeDump = reinterpret_cast<MiniDumpWriter>(reinterpret_cast<void (*)()>(entry));
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  MINIDUMP_EXCEPTION_INFORMATION where{crashHandler.crashedThread.load(), crashHandler.exception,
                                       FALSE};
  BOOL written = writeDump(GetCurrentProcess(), GetCurrentProcessId(), file,
                           static_cast<MINIDUMP_TYPE>(MiniDumpNormal | MiniDumpWithThreadInfo),
                           &where, nullptr, nullptr);
  CloseHandle(file);
  if (!written) DeleteFileA(path.c_str());
  return written != FALSE;
}

// Deletes the oldest dumps beyond CRASH_DUMPS_KEPT.
void DeleteOldDumps() {
  std::string names[CRASH_DUMPS_LISTED];
  size_t count = 0;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA(InLogFolder("torvex-*.dmp").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    names[count++] = found.cFileName;
  } while (count < CRASH_DUMPS_LISTED && FindNextFileA(search, &found));
  FindClose(search);
  size_t doomed = ChooseDumpsToDelete(names, count, CRASH_DUMPS_KEPT);
  for (size_t i = 0; i < doomed; ++i) DeleteFileA(InLogFolder(names[i]).c_str());
}

// The module the exception happened in, for the last line; its base, or 0 when none is known.
uintptr_t FindModule(void* address, char* name, DWORD size) {
  name[0] = '\0';
  HMODULE module = nullptr;
  if (!GetModuleHandleExA(
          GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
          static_cast<LPCSTR>(address), &module)) {
    return 0;
  }
  char path[MAX_PATH];
  DWORD length = GetModuleFileNameA(module, path, sizeof path);
  if (length == 0 || length >= sizeof path) return 0;
  const char* lastBackslash = strrchr(path, '\\');
  snprintf(name, size, "%s", lastBackslash ? lastBackslash + 1 : path);
  return reinterpret_cast<uintptr_t>(module);
}

DWORD WINAPI ReportCrash(LPVOID) {
  crashHandler.reportingThread.store(GetCurrentThreadId());
  const EXCEPTION_RECORD& record = *crashHandler.exception->ExceptionRecord;
  std::string dumpName = CrashDumpName(ReadLocalLogTime());
  bool written = EventLogFolder()[0] != '\0' && WriteMiniDump(InLogFolder(dumpName));
  if (written) DeleteOldDumps();
  char module[MAX_PATH];
  uintptr_t base = FindModule(record.ExceptionAddress, module, sizeof module);
  std::string last =
      DescribeCrash(record.ExceptionCode, reinterpret_cast<uintptr_t>(record.ExceptionAddress),
                    module, base, dumpName.c_str(), written);
  WriteEventLogNow(last.c_str());
  return 0;
}

LONG WINAPI OnUnhandledException(EXCEPTION_POINTERS* exception) {
  DWORD self = GetCurrentThreadId();
  UINT code = exception->ExceptionRecord->ExceptionCode;
  DWORD first = 0;
  if (!crashHandler.crashedThread.compare_exchange_strong(first, self)) {
    // The report itself failed, or the crashed thread failed again: end now. Any other thread
    // waits: the report under way ends the process.
    if (first == self || crashHandler.reportingThread.load() == self) {
      TerminateProcess(GetCurrentProcess(), code);
    }
    Sleep(INFINITE);
  }
  crashHandler.exception = exception;
  // Reported from a fresh thread: the crashed one may have no stack left, and a dump shows its
  // stack best from outside.
  HANDLE reporter = CreateThread(nullptr, 0, ReportCrash, nullptr, 0, nullptr);
  if (reporter) {
    WaitForSingleObject(reporter, CRASH_REPORT_WAIT_MS);
  } else {
    ReportCrash(nullptr);
  }
  TerminateProcess(GetCurrentProcess(), code);
  return EXCEPTION_EXECUTE_HANDLER;
}

template <typename Function>
Function AsFunction(FARPROC entry) {
  return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(entry));
}

// A 32-bit program on 64-bit Windows: an exception in a window procedure that the kernel called
// back (a paint, a timer) would be swallowed, and the program go on in a broken state, unless
// the process asks otherwise. Systems without the policy do not swallow.
void StopSwallowingCallbackExceptions() {
  constexpr DWORD PROCESS_CALLBACK_FILTER_ENABLED = 0x1;
  HMODULE kernel = GetModuleHandleA("kernel32.dll");
  FARPROC get = GetProcAddress(kernel, "GetProcessUserModeExceptionPolicy");
  FARPROC set = GetProcAddress(kernel, "SetProcessUserModeExceptionPolicy");
  DWORD flags = 0;
  if (!get || !set || !AsFunction<BOOL(WINAPI*)(LPDWORD)>(get)(&flags)) return;
  AsFunction<BOOL(WINAPI*)(DWORD)>(set)(flags & ~PROCESS_CALLBACK_FILTER_ENABLED);
}

}  // namespace

void InstallCrashHandler() {
  SetUnhandledExceptionFilter(OnUnhandledException);
  StopSwallowingCallbackExceptions();
  // std::terminate would show the runtime's own box and leave nothing: report it as a crash.
  std::set_terminate(
      [] { RaiseException(UNCAUGHT_CPP_EXCEPTION, EXCEPTION_NONCONTINUABLE, 0, nullptr); });
}
