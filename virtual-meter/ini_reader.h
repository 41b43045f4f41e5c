#pragma once
// A small reader for the scenario's INI text: sections, key = value lines, comments.
#include <cstdint>
#include <map>
#include <string>

namespace vmeter {

// Section and key names are kept in lower case, so lookups ignore case as Windows' profile
// functions do. A key given twice keeps its last value.
using IniSection = std::map<std::string, std::string>;
using IniDocument = std::map<std::string, IniSection>;

// Lines starting with ';' or '#' are comments; keys before any section header land in section "".
// Values are trimmed, and one pair of surrounding double quotes is removed.
IniDocument ParseIni(const std::string& text);

// The value of section/key (names in any case), or null when absent.
const std::string* FindIniValue(const IniDocument& document, const std::string& section,
                                const std::string& key);

// Decimal digits, or 0x followed by hex digits, fitting 32 bits; nothing else.
bool ParseIniNumber(const std::string& text, uint32_t& number);

}  // namespace vmeter
