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

}  // namespace vmeter
