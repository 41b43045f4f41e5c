#pragma once
// The log lines about what reached the meter and what it sent back.
#include <cstdint>
#include <string>
#include <vector>

#include "virtual-meter/meter_model.h"
#include "virtual-meter/temperature_packet.h"

namespace vmeter {

// A decoded frame: {"t_ms":..,"index":0,"cmd":3,"frame":"FE34900...03","value":73}, with the
// fields of its command; an anomaly: {"t_ms":..,"index":0,"error":"..."} (with "frame" when
// there is one). A frame with stray nibbles after its payload gives both lines.
void FormatMeterEvent(int64_t tMs, int index, const MeterEvent& event,
                      std::vector<std::string>& lines);

// {"t_ms":..,"index":0,"packet":"002303","temperature":35}
std::string FormatPacket(int64_t tMs, int index, const TemperaturePacket& packet, int temperature);

// {"t_ms":..,"index":0,"inject":"FE002D23"}
std::string FormatInject(int64_t tMs, int index, const std::vector<uint8_t>& nibbles);

std::string FormatError(int64_t tMs, int index, const std::string& error);

// What the process holds at one moment, counted from inside it.
struct ObjectCensus {
  int64_t handles = 0;  // kernel handles
  // Of those, the mutexes Wine's spooler leaves open on every read of HKEY_PERFORMANCE_DATA (Wine
  // 8): a leak of the system's that a count of the program's handles has to leave out.
  int64_t wineSpoolerMutexes = 0;
  int64_t gdi = 0;   // GDI objects
  int64_t user = 0;  // windows, menus, icons and cursors
  int64_t privateKb = 0;
  int64_t workingSetKb = 0;
};

// {"t_ms":..,"handles":40,"wine_spooler_mutexes":2,"gdi":31,"user":12,"private_kb":5120,
//  "working_set_kb":20480}
std::string FormatCensus(int64_t tMs, const ObjectCensus& census);

}  // namespace vmeter
