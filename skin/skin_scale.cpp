#include "skin/skin_scale.h"

#include <algorithm>

namespace {

int32_t HeldDpi(int32_t dpi) {
  return std::clamp(dpi, MIN_DPI, MAX_DPI);
}

int32_t HeldTo32Bits(int64_t value) {
  return static_cast<int32_t>(std::clamp<int64_t>(value, INT32_MIN, INT32_MAX));
}

// Floor division, so that rounding moves every coordinate the same way, negative ones included.
int64_t DivideDown(int64_t value, int64_t by) {
  int64_t quotient = value / by;
  return quotient * by > value ? quotient - 1 : quotient;
}

// `value` x `to` / `from`, to the nearest, halves up.
int64_t Rescale(int64_t value, int64_t to, int64_t from) {
  return DivideDown(2 * value * to + from, 2 * from);
}

// Scales the span [start, start + size) by its edges; returns the scaled start, `size` becomes
// the scaled size.
int32_t ScaleSpan(int32_t start, int32_t* size, int32_t dpi) {
  int32_t scaledStart = ScaleToDpi(start, dpi);
  int64_t end = int64_t{start} + *size;
  *size = HeldTo32Bits(int64_t{ScaleToDpi(HeldTo32Bits(end), dpi)} - scaledStart);
  return scaledStart;
}

}  // namespace

int32_t ScaleToDpi(int32_t value, int32_t dpi) {
  return HeldTo32Bits(Rescale(value, HeldDpi(dpi), SKIN_DPI));
}

SkinRect ScaleRectToDpi(const SkinRect& rect, int32_t dpi) {
  return SkinRect{ScaleToDpi(rect.left, dpi), ScaleToDpi(rect.top, dpi),
                  ScaleToDpi(rect.right, dpi), ScaleToDpi(rect.bottom, dpi)};
}

SkinRect RescaledWindowRect(int32_t skinWidth, int32_t skinHeight, int32_t dpi,
                            const SkinRect& suggested) {
  if (skinWidth <= 0 || skinHeight <= 0) return suggested;
  int64_t right = int64_t{suggested.left} + ScaleToDpi(skinWidth, dpi);
  int64_t bottom = int64_t{suggested.top} + ScaleToDpi(skinHeight, dpi);
  return SkinRect{suggested.left, suggested.top, HeldTo32Bits(right), HeldTo32Bits(bottom)};
}

ReadoutLayout ScaleReadoutLayout(const ReadoutLayout& layout, int32_t dpi) {
  ReadoutLayout scaled = layout;
  for (ReadoutPart& part : scaled.parts) {
    if (!part.present) continue;
    int32_t step = part.step;
    int32_t x = part.x;
    part.x = ScaleSpan(x, &part.width, dpi);
    part.y = ScaleSpan(part.y, &part.height, dpi);
    ScaleSpan(x, &step, dpi);
    part.step = step;
  }
  return scaled;
}

ArtChoice ChooseArt(int32_t dpi, bool twiceSizeArt) {
  dpi = HeldDpi(dpi);
  ArtChoice choice;
  // Twice-size art serves every scale above 100 %: shrunk, it keeps detail that 1x art stretched
  // up never had.
  choice.artScale = twiceSizeArt && dpi > SKIN_DPI ? 2 : 1;
  int32_t artDpi = SKIN_DPI * choice.artScale;
  if (dpi == artDpi) {
    choice.stretch = ArtStretch::AS_IS;
  } else if (dpi % artDpi == 0) {
    choice.stretch = ArtStretch::NEAREST;
  } else {
    choice.stretch = ArtStretch::SMOOTH;
  }
  return choice;
}

StripStretch PlanStripStretch(int32_t stripWidth, int32_t stripHeight, int32_t frameWidth,
                              int32_t frameHeight, int32_t frames, int32_t cellWidth,
                              int32_t cellHeight) {
  StripStretch plan;
  if (stripWidth <= 0 || stripHeight <= 0 || frameWidth <= 0 || frameHeight <= 0 ||
      cellWidth <= 0 || cellHeight <= 0 || frames <= 0) {
    return plan;
  }
  if (int64_t{cellWidth} * cellHeight > MAX_STRETCHED_PIXELS) return plan;
  frames = std::min(frames, MAX_STRETCHED_FRAMES);
  int64_t height = Rescale(stripHeight, cellHeight, frameHeight);
  int64_t width = int64_t{frames} * cellWidth;
  if (height <= 0 || width * height > MAX_STRETCHED_PIXELS) return plan;
  plan.width = static_cast<int32_t>(width);
  plan.height = static_cast<int32_t>(height);
  for (int32_t i = 0; i < frames; ++i) {
    int64_t left = int64_t{i} * frameWidth;
    if (left >= stripWidth) break;
    int64_t right = std::min<int64_t>(left + frameWidth, stripWidth);
    int64_t targetLeft = int64_t{i} * cellWidth;
    // A frame the strip cuts short fills the same share of its cell.
    int64_t targetRight = targetLeft + Rescale(right - left, cellWidth, frameWidth);
    plan.frames[plan.count++] = StretchedFrame{
        SkinRect{static_cast<int32_t>(left), 0, static_cast<int32_t>(right), stripHeight},
        SkinRect{static_cast<int32_t>(targetLeft), 0, static_cast<int32_t>(targetRight),
                 plan.height}};
  }
  return plan;
}
