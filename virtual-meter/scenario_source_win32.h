#pragma once
// Where the scenario file is and what it says.
#include <windows.h>

#include <string>

namespace vmeter {

// The path in TORVEX_VMETER; without it, vmeter.ini beside the library module.
std::string FindScenarioPath(HMODULE module);

// The whole file; false, with `text` empty, when it cannot be read.
bool ReadScenarioFile(const std::string& path, std::string& text);

}  // namespace vmeter
