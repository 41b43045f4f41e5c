#pragma once
// The skin on a display of any scale. A skin is drawn in skin pixels, which are display pixels at
// 96 DPI; on a monitor of another DPI every coordinate becomes skin x DPI / 96, rounded, and the
// art is taken from the set drawn nearest to that scale. Plain logic: the panel, the poll, the
// readout and the window carry the numbers out.
#include <cstdint>

#include "skin/control_record.h"
#include "skin/readout_layout.h"

// A skin pixel is a display pixel at this DPI (100 %).
constexpr int32_t SKIN_DPI = 96;
// DPIs outside these bounds (a broken message, say) are taken as the nearest bound.
constexpr int32_t MIN_DPI = 48;
constexpr int32_t MAX_DPI = 960;

// `value` skin pixels at `dpi`: value x dpi / 96 to the nearest pixel, halves up.
int32_t ScaleToDpi(int32_t value, int32_t dpi);

// Each edge scaled on its own, so that rectangles that touch in the skin touch on the display and
// a point lies in the scaled rectangle of at most one of them.
SkinRect ScaleRectToDpi(const SkinRect& rect, int32_t dpi);

// Where the window goes when its DPI changes (WM_DPICHANGED): at the top-left corner the system
// suggests, at the skin's size for the new DPI. A skin without a size of its own (no main
// background) takes the suggested rectangle whole.
SkinRect RescaledWindowRect(int32_t skinWidth, int32_t skinHeight, int32_t dpi,
                            const SkinRect& suggested);

// The readout's parts on the display: places and sizes by their edges, the digits' step as the
// second digit's place; segments stay as they are.
ReadoutLayout ScaleReadoutLayout(const ReadoutLayout& layout, int32_t dpi);

// How a skin's bitmap becomes the display's: which set of art (1, or 2 when the skin has art
// drawn at twice the size) and how it is stretched. AS_IS when the art is made for the DPI,
// NEAREST (pixel repetition) at whole multiples of it, SMOOTH (halftone) otherwise.
enum class ArtStretch : int32_t { AS_IS, NEAREST, SMOOTH };
struct ArtChoice {
  int32_t artScale = 1;
  ArtStretch stretch = ArtStretch::AS_IS;
};
ArtChoice ChooseArt(int32_t dpi, bool twiceSizeArt);

// A strip of frames side by side, as stretched for the display: each of its first frames fills a
// cell of the display size, so frame i starts at i x cellWidth whatever rounding did to the others.
// The strip's other rows scale with the frame's height. Rectangles in 1x pixels of the source.
constexpr int32_t MAX_STRETCHED_FRAMES = 12;  // the digit strip's
// A larger stretched strip is refused: nothing the display shows needs one.
constexpr int64_t MAX_STRETCHED_PIXELS = int64_t{1} << 24;
struct StretchedFrame {
  SkinRect source;
  SkinRect target;
};
struct StripStretch {
  int32_t width = 0;  // of the stretched strip; 0 when there is nothing to stretch
  int32_t height = 0;
  int32_t count = 0;
  StretchedFrame frames[MAX_STRETCHED_FRAMES];
};

// For a strip of `stripWidth` x `stripHeight` holding frames of `frameWidth` x `frameHeight`,
// the first `frames` of which are shown, each in a cell of `cellWidth` x `cellHeight`. Frames
// the strip does not reach are left out; a strip with a frame of no size, or one too large to
// stretch, gives none.
StripStretch PlanStripStretch(int32_t stripWidth, int32_t stripHeight, int32_t frameWidth,
                              int32_t frameHeight, int32_t frames, int32_t cellWidth,
                              int32_t cellHeight);
