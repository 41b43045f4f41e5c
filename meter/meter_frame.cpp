#include "meter/meter_frame.h"

namespace {

constexpr int PAYLOAD_START = 3;

MeterFrame StartFrame(uint8_t command) {
  MeterFrame frame{};  // payload positions not set below stay zero
  frame[0] = 0xF;
  frame[1] = 0xE;
  frame[2] = command;
  frame[METER_FRAME_LENGTH - 1] = command;
  return frame;
}

void PutByte(MeterFrame& frame, int position, int32_t value) {
  frame[position] = static_cast<uint8_t>((value >> 4) & 0xF);
  frame[position + 1] = static_cast<uint8_t>(value & 0xF);
}

void PutNibble(MeterFrame& frame, int position, int32_t value) {
  frame[position] = static_cast<uint8_t>(value & 0xF);
}

}  // namespace

MeterFrame BuildValueFrame(int32_t value) {
  MeterFrame frame = StartFrame(CMD_VALUE);
  PutByte(frame, PAYLOAD_START, value);
  return frame;
}

MeterFrame BuildFanThresholdsFrame(int32_t lowThreshold, int32_t highThreshold, int32_t fanMode) {
  MeterFrame frame = StartFrame(CMD_FAN_THRESHOLDS);
  PutByte(frame, PAYLOAD_START, lowThreshold);
  PutByte(frame, PAYLOAD_START + 2, highThreshold);
  PutNibble(frame, PAYLOAD_START + 4, fanMode);
  return frame;
}

MeterFrame BuildBacklightFrame(int32_t backlightState) {
  MeterFrame frame = StartFrame(CMD_BACKLIGHT);
  PutNibble(frame, PAYLOAD_START, backlightState);
  return frame;
}

MeterFrame BuildFanFrame(int32_t fanValue) {
  MeterFrame frame = StartFrame(CMD_FAN);
  PutByte(frame, PAYLOAD_START, fanValue);
  return frame;
}
