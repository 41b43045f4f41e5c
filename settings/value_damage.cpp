#include "settings/value_damage.h"

#include "log/event_log.h"

namespace {

// The registry's value types, by their numbers.
constexpr const char* VALUE_TYPE_NAMES[] = {"REG_NONE",
                                            "REG_SZ",
                                            "REG_EXPAND_SZ",
                                            "REG_BINARY",
                                            "REG_DWORD",
                                            "REG_DWORD_BIG_ENDIAN",
                                            "REG_LINK",
                                            "REG_MULTI_SZ",
                                            "REG_RESOURCE_LIST",
                                            "REG_FULL_RESOURCE_DESCRIPTOR",
                                            "REG_RESOURCE_REQUIREMENTS_LIST",
                                            "REG_QWORD"};

}  // namespace

bool ReportValueDamage(const char* name, uint32_t type, size_t size, size_t recordSize) {
  unsigned long bytes = static_cast<unsigned long>(size);
  unsigned long expected = static_cast<unsigned long>(recordSize);
  if (type != BINARY_VALUE_TYPE) {
    if (type < sizeof VALUE_TYPE_NAMES / sizeof VALUE_TYPE_NAMES[0]) {
      LogEvent("Setting \"%s\" is damaged: %s of %lu bytes, not REG_BINARY; replaced by defaults",
               name, VALUE_TYPE_NAMES[type], bytes);
    } else {
      LogEvent(
          "Setting \"%s\" is damaged: type %lu of %lu bytes, not REG_BINARY; replaced by "
          "defaults",
          name, static_cast<unsigned long>(type), bytes);
    }
    return true;
  }
  if (size < recordSize) {
    LogEvent(
        "Setting \"%s\" is damaged: REG_BINARY of %lu bytes, %lu expected; what is missing "
        "is replaced by defaults",
        name, bytes, expected);
    return true;
  }
  if (size > recordSize) {
    LogEvent(
        "Setting \"%s\" is damaged: REG_BINARY of %lu bytes, %lu expected; the first %lu "
        "are used",
        name, bytes, expected, expected);
    return true;
  }
  return false;
}
