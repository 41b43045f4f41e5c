#pragma once
// The meter behind one bridge: takes the bytes the program writes, rebuilds its frames and keeps
// what it was last told.
#include <vector>

#include "virtual-meter/frame_assembler.h"
#include "virtual-meter/frame_decoder.h"

namespace vmeter {

// -1: never told since the meter was powered.
struct MeterDisplay {
  int value = -1;
  int lowThreshold = -1;
  int highThreshold = -1;
  int fanMode = -1;
  int backlight = -1;
  int fan = -1;
};

struct MeterEvent {
  AssemblyEvent assembly;
  DecodedFrame decoded;  // for FRAME events
};

class MeterModel {
 public:
  void Write(uint8_t wireByte, std::vector<MeterEvent>& events);

  // Unplugging takes the meter's power: a half-gathered frame and every setting are gone.
  void PowerOff() { *this = MeterModel(); }

  const MeterDisplay& Display() const { return display_; }

 private:
  void Apply(const DecodedFrame& frame);

  FrameAssembler assembler_;
  MeterDisplay display_;
  std::vector<AssemblyEvent> pending_;
};

}  // namespace vmeter
