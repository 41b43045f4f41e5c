#pragma once
// The live meter display a skin may draw over its background, as the keys of its [Readout]
// section lay it out. Each part is a strip of same-size frames side by side, drawn at its place:
//
//   Face=file,x,y,width,height                     the display with nothing lit (1 frame)
//   Digits=file,x,y,width,height,count,step        one digit cell; "0".."9", "-", blank (12
//   frames);
//                                                  `count` digits, each `step` pixels right of the
//                                                  last
//   Unit=file,x,y,width,height                     no item, percent, degrees, fan speed (4 frames)
//   Bar=file,x,y,width,height[,segments]           empty, full (2 frames); lit in whole segments
//   Link=file,x,y,width,height                     no meter, meter linked (2 frames)
//   FanMode=file,x,y,width,height                  off, manual, auto (3 frames)
//   Backlight=file,x,y,width,height                off, on (2 frames)
//   Warning=file,x,y,width,height                  calm, temperature warning (2 frames)
//
// A missing key leaves its part out, and so does a broken one (a missing or malformed number, a
// size out of range), without touching the others; the event log names a broken one. Plain logic.
#include <cstdint>

#include "skin/control_record.h"
#include "skin/skin_file.h"

constexpr const char* READOUT_SECTION = "Readout";

enum ReadoutPartId : int32_t {
  READOUT_FACE = 0,
  READOUT_DIGITS,
  READOUT_UNIT,
  READOUT_BAR,
  READOUT_LINK,
  READOUT_FAN_MODE,
  READOUT_BACKLIGHT,
  READOUT_WARNING,
  READOUT_PART_COUNT
};

constexpr int32_t READOUT_MAX_DIGITS = 8;
// Frames of the digit strip: the ten digits, then the dash and the blank.
constexpr int32_t DIGIT_DASH_FRAME = 10;
constexpr int32_t DIGIT_BLANK_FRAME = 11;
// Bounds that keep every sum of places and sizes far inside the 32-bit range.
constexpr int32_t READOUT_PLACE_LIMIT = 16384;
constexpr int32_t READOUT_SIZE_LIMIT = 4096;

struct ReadoutPart {
  bool present = false;
  char fileName[SKIN_NAME_SIZE] = {};  // as written; joined to the skin folder when loaded
  int32_t x = 0;
  int32_t y = 0;
  int32_t width = 0;  // of one frame
  int32_t height = 0;
  int32_t count = 1;     // Digits: how many
  int32_t step = 0;      // Digits: from one digit's left edge to the next one's
  int32_t segments = 0;  // Bar: 0 lights it pixel by pixel
};

struct ReadoutLayout {
  ReadoutPart parts[READOUT_PART_COUNT];
};

// The key naming a part, and the frames its strip holds.
const char* ReadoutKeyOf(ReadoutPartId part);
int32_t ReadoutFramesOf(ReadoutPartId part);

// Reads every part's key from `section`.
ReadoutLayout ReadReadoutLayout(const SkinProfileReader& reader, const char* section);

// Whether a strip of `stripWidth` x `stripHeight` pixels holds every frame of the part.
bool StripHoldsFrames(ReadoutPartId id, const ReadoutPart& part, int32_t stripWidth,
                      int32_t stripHeight);

// The rectangle one part covers (all its digits for Digits); empty for an absent part.
SkinRect ReadoutPartRect(const ReadoutPart& part);
