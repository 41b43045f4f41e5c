#pragma once
// Counts what the process holds (handles, GDI and USER objects, memory), so a long run can show
// whether any of them grows.
#include "virtual-meter/meter_log_lines.h"

namespace vmeter {

ObjectCensus CountProcessObjects();

}  // namespace vmeter
