#pragma once
// What a crash leaves beside the event log: a minidump named by the time of the crash, at most
// CRASH_DUMPS_KEPT of them, and a last line telling the exception and where it happened. Plain
// logic: crash_handler_win32.cpp writes them.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "log/log_line.h"

constexpr size_t CRASH_DUMPS_KEPT = 5;
// What an uncaught C++ exception is raised as, so that it is reported as any other crash.
constexpr uint32_t UNCAUGHT_CPP_EXCEPTION = 0xE0545658;
// The most dumps looked at when the old ones are cleared: more are left for a later crash.
constexpr size_t CRASH_DUMPS_LISTED = 64;
// "torvex-YYYYMMDD-HHMMSS.dmp": names that sort as the crashes happened.
constexpr size_t CRASH_DUMP_NAME_LENGTH = 26;

// The dump's name for a crash at `time`.
std::string CrashDumpName(const LogTime& time);

bool IsCrashDumpName(std::string_view name);

// Of the file names in a folder, the dumps to delete so that `keep` stay: the oldest ones. Other
// names are left alone. Sorts `names`; returns how many of them, from the first, to delete.
size_t ChooseDumpsToDelete(std::string* names, size_t count, size_t keep);

// The crash's last line: the exception's code (and its name when it is a common one), its address
// and, when known, the module and the offset there; and the dump written, or that none was.
std::string DescribeCrash(uint32_t code, uintptr_t address, const char* module,
                          uintptr_t moduleBase, const char* dumpName, bool dumpWritten);
