#include "virtual-meter/meter_log_lines.h"

#include <cstdio>

#include "virtual-meter/json_line.h"

namespace vmeter {

namespace {

std::string FrameText(const WireFrame& nibbles, int count) {
  return FormatNibbles(nibbles.data(), static_cast<size_t>(count));
}

std::string FormatFrame(int64_t tMs, int index, const WireFrame& nibbles,
                        const DecodedFrame& frame) {
  JsonLine line(tMs);
  line.Number("index", index).Number("cmd", frame.command);
  line.Text("frame", FrameText(nibbles, FRAME_LENGTH));
  if (frame.value >= 0) line.Number("value", frame.value);
  if (frame.low >= 0) line.Number("low", frame.low);
  if (frame.high >= 0) line.Number("high", frame.high);
  if (frame.fanMode >= 0) line.Number("fan_mode", frame.fanMode);
  if (frame.backlight >= 0) line.Number("backlight", frame.backlight);
  if (frame.fan >= 0) line.Number("fan", frame.fan);
  return line.Finish();
}

std::string FormatFrameError(int64_t tMs, int index, const char* error, const WireFrame& nibbles,
                             int count) {
  return JsonLine(tMs)
      .Number("index", index)
      .Text("error", error)
      .Text("frame", FrameText(nibbles, count))
      .Finish();
}

void FormatWholeFrame(int64_t tMs, int index, const MeterEvent& event,
                      std::vector<std::string>& lines) {
  const DecodedFrame& frame = event.decoded;
  const WireFrame& nibbles = event.assembly.nibbles;
  char error[64];
  if (!frame.known) {
    std::snprintf(error, sizeof error, "unknown command %d", frame.command);
    lines.push_back(FormatFrameError(tMs, index, error, nibbles, FRAME_LENGTH));
    return;
  }
  lines.push_back(FormatFrame(tMs, index, nibbles, frame));
  if (frame.strayPosition >= 0) {
    std::snprintf(error, sizeof error, "nonzero nibble at position %d after the payload",
                  frame.strayPosition);
    lines.push_back(FormatFrameError(tMs, index, error, nibbles, FRAME_LENGTH));
  }
}

}  // namespace

void FormatMeterEvent(int64_t tMs, int index, const MeterEvent& event,
                      std::vector<std::string>& lines) {
  const AssemblyEvent& assembly = event.assembly;
  char error[64];
  switch (assembly.kind) {
    case AssemblyEvent::FRAME:
      FormatWholeFrame(tMs, index, event, lines);
      return;
    case AssemblyEvent::BAD_TRAILER:
      std::snprintf(error, sizeof error, "bad trailer %X after command %X",
                    assembly.nibbles[FRAME_LENGTH - 1], assembly.nibbles[2]);
      lines.push_back(FormatFrameError(tMs, index, error, assembly.nibbles, FRAME_LENGTH));
      return;
    case AssemblyEvent::CUT_SHORT:
      std::snprintf(error, sizeof error, "frame cut short by a new F E after %d nibbles",
                    assembly.count);
      lines.push_back(FormatFrameError(tMs, index, error, assembly.nibbles, assembly.count));
      return;
    case AssemblyEvent::SKIPPED:
      std::snprintf(error, sizeof error, "%d nibbles outside a frame", assembly.count);
      lines.push_back(FormatError(tMs, index, error));
      return;
    case AssemblyEvent::LOW_BITS:
      std::snprintf(error, sizeof error, "byte 0x%02X has low bits set", assembly.byte);
      lines.push_back(FormatError(tMs, index, error));
      return;
  }
}

std::string FormatPacket(int64_t tMs, int index, const TemperaturePacket& packet, int temperature) {
  return JsonLine(tMs)
      .Number("index", index)
      .Text("packet", FormatNibbles(packet.data(), packet.size()))
      .Number("temperature", temperature)
      .Finish();
}

std::string FormatInject(int64_t tMs, int index, const std::vector<uint8_t>& nibbles) {
  return JsonLine(tMs)
      .Number("index", index)
      .Text("inject", FormatNibbles(nibbles.data(), nibbles.size()))
      .Finish();
}

std::string FormatError(int64_t tMs, int index, const std::string& error) {
  return JsonLine(tMs).Number("index", index).Text("error", error).Finish();
}

std::string FormatCensus(int64_t tMs, const ObjectCensus& census) {
  return JsonLine(tMs)
      .Number("handles", census.handles)
      .Number("wine_spooler_mutexes", census.wineSpoolerMutexes)
      .Number("gdi", census.gdi)
      .Number("user", census.user)
      .Number("private_kb", census.privateKb)
      .Number("working_set_kb", census.workingSetKb)
      .Finish();
}

}  // namespace vmeter
