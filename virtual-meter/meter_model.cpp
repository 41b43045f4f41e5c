#include "virtual-meter/meter_model.h"

namespace vmeter {

void MeterModel::Write(uint8_t wireByte, std::vector<MeterEvent>& events) {
  pending_.clear();
  assembler_.Feed(wireByte, pending_);
  for (const AssemblyEvent& assembly : pending_) {
    MeterEvent event{assembly, DecodedFrame{}};
    if (assembly.kind == AssemblyEvent::FRAME) {
      event.decoded = DecodeFrame(assembly.nibbles);
      Apply(event.decoded);
    }
    events.push_back(event);
  }
}

void MeterModel::Apply(const DecodedFrame& frame) {
  switch (frame.command) {
    case COMMAND_VALUE:
      display_.value = frame.value;
      break;
    case COMMAND_FAN_THRESHOLDS:
      display_.lowThreshold = frame.low;
      display_.highThreshold = frame.high;
      display_.fanMode = frame.fanMode;
      break;
    case COMMAND_BACKLIGHT:
      display_.backlight = frame.backlight;
      break;
    case COMMAND_FAN:
      display_.fan = frame.fan;
      break;
    default:
      break;  // the meter ignores commands it does not know
  }
}

}  // namespace vmeter
