#pragma once
// The clocks of the event log: the local time its lines are stamped with, and a steady clock for
// its throttles. GetLocalTime and GetTickCount64 on Windows, the C++ clocks elsewhere.
#include <cstdint>

#include "log/log_line.h"

LogTime ReadLocalLogTime();
int64_t ReadSteadyMs();
