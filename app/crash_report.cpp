#include "app/crash_report.h"

#include <algorithm>
#include <cstdio>

namespace {

struct ExceptionName {
  uint32_t code;
  const char* name;
};

constexpr ExceptionName EXCEPTION_NAMES[] = {
    {0xC0000005, "access violation"},
    {0xC00000FD, "stack overflow"},
    {0xC0000094, "integer division by zero"},
    {0xC000001D, "illegal instruction"},
    {0xC0000096, "privileged instruction"},
    {0xC0000409, "stack buffer overrun"},
    {0xC0000374, "heap corruption"},
    {0xC0000006, "in-page error"},
    {0x80000003, "breakpoint"},
    {0x20474343, "C++ exception"},
    {UNCAUGHT_CPP_EXCEPTION, "uncaught C++ exception"},
};

const char* NameOf(uint32_t code) {
  for (const ExceptionName& known : EXCEPTION_NAMES) {
    if (known.code == code) return known.name;
  }
  return nullptr;
}

bool IsDigits(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

}  // namespace

std::string CrashDumpName(const LogTime& time) {
  char name[40];
  std::snprintf(name, sizeof name, "torvex-%04d%02d%02d-%02d%02d%02d.dmp",
                static_cast<int>(time.year), static_cast<int>(time.month),
                static_cast<int>(time.day), static_cast<int>(time.hour),
                static_cast<int>(time.minute), static_cast<int>(time.second));
  return name;
}

bool IsCrashDumpName(std::string_view name) {
  return name.size() == CRASH_DUMP_NAME_LENGTH && name.substr(0, 7) == "torvex-" &&
         IsDigits(name.substr(7, 8)) && name[15] == '-' && IsDigits(name.substr(16, 6)) &&
         name.substr(22) == ".dmp";
}

size_t ChooseDumpsToDelete(std::string* names, size_t count, size_t keep) {
  std::string* dumpsEnd = std::partition(
      names, names + count, [](const std::string& name) { return IsCrashDumpName(name); });
  size_t dumps = static_cast<size_t>(dumpsEnd - names);
  std::sort(names, dumpsEnd);
  return dumps > keep ? dumps - keep : 0;
}

std::string DescribeCrash(uint32_t code, uintptr_t address, const char* module,
                          uintptr_t moduleBase, const char* dumpName, bool dumpWritten) {
  char text[512];
  const char* name = NameOf(code);
  int length =
      std::snprintf(text, sizeof text, "Torvex crashed: exception 0x%08X%s%s%s at 0x%08llX",
                    static_cast<unsigned>(code), name ? " (" : "", name ? name : "",
                    name ? ")" : "", static_cast<unsigned long long>(address));
  if (module && module[0] && length > 0 && static_cast<size_t>(length) < sizeof text) {
    length += std::snprintf(text + length, sizeof text - length, " (%s+0x%llX)", module,
                            static_cast<unsigned long long>(address - moduleBase));
  }
  if (length > 0 && static_cast<size_t>(length) < sizeof text) {
    std::snprintf(text + length, sizeof text - length,
                  dumpWritten ? "; dump %s written" : "; the dump %s could not be written",
                  dumpName);
  }
  return text;
}
