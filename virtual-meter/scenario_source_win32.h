#pragma once
// Where the scenario file is and what it says.
#include <windows.h>

#include <string>

#include "virtual-meter/scenario_watch.h"

namespace vmeter {

// The path in TORVEX_VMETER; without it, vmeter.ini beside the library module.
std::string FindScenarioPath(HMODULE module);

// The file's size and last write time, without opening it; not present when it cannot be found.
ScenarioStamp ReadScenarioStamp(const std::string& path);

// The whole file; false, with `text` empty, when it cannot be read.
bool ReadScenarioFile(const std::string& path, std::string& text);

}  // namespace vmeter
