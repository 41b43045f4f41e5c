#pragma once
// What a whole command frame tells the meter. Written from the wire format alone: the virtual
// meter checks the program's encoder, so it must not borrow it.
#include "virtual-meter/frame_assembler.h"

namespace vmeter {

constexpr int COMMAND_VALUE = 3;
constexpr int COMMAND_BACKLIGHT = 8;
constexpr int COMMAND_FAN = 9;
constexpr int COMMAND_FAN_THRESHOLDS = 10;

// Fields a command does not carry stay -1.
struct DecodedFrame {
  int command = 0;
  bool known = false;  // one of the four commands the meter understands
  int value = -1;      // COMMAND_VALUE: the displayed value
  int low = -1;        // COMMAND_FAN_THRESHOLDS: the two thresholds and the fan mode
  int high = -1;
  int fanMode = -1;
  int backlight = -1;  // COMMAND_BACKLIGHT: 0 off, 1 on
  int fan = -1;        // COMMAND_FAN: the fan value
  // The first position after the payload that is not a zero nibble, or -1 when all are zero.
  int strayPosition = -1;
};

DecodedFrame DecodeFrame(const WireFrame& frame);

}  // namespace vmeter
