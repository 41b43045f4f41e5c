#include "virtual-meter/frame_decoder.h"

namespace vmeter {

namespace {

constexpr int PAYLOAD_START = 3;
constexpr int TRAILER_POSITION = FRAME_LENGTH - 1;

int ReadByte(const WireFrame& frame, int position) {
  return frame[position] * 16 + frame[position + 1];
}

// Payload nibbles of each command; the rest up to the trailer must be zero.
int PayloadLength(int command) {
  switch (command) {
    case COMMAND_VALUE:
      return 2;
    case COMMAND_FAN_THRESHOLDS:
      return 5;
    case COMMAND_BACKLIGHT:
      return 1;
    case COMMAND_FAN:
      return 2;
    default:
      return 0;
  }
}

}  // namespace

DecodedFrame DecodeFrame(const WireFrame& frame) {
  DecodedFrame decoded;
  decoded.command = frame[2];
  switch (decoded.command) {
    case COMMAND_VALUE:
      decoded.value = ReadByte(frame, PAYLOAD_START);
      break;
    case COMMAND_FAN_THRESHOLDS:
      decoded.low = ReadByte(frame, PAYLOAD_START);
      decoded.high = ReadByte(frame, PAYLOAD_START + 2);
      decoded.fanMode = frame[PAYLOAD_START + 4];
      break;
    case COMMAND_BACKLIGHT:
      decoded.backlight = frame[PAYLOAD_START];
      break;
    case COMMAND_FAN:
      decoded.fan = ReadByte(frame, PAYLOAD_START);
      break;
    default:
      return decoded;
  }
  decoded.known = true;
  for (int position = PAYLOAD_START + PayloadLength(decoded.command); position < TRAILER_POSITION;
       ++position) {
    if (frame[position] != 0) {
      decoded.strayPosition = position;
      break;
    }
  }
  return decoded;
}

}  // namespace vmeter
