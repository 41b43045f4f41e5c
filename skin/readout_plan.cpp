#include "skin/readout_plan.h"

#include <cstring>

namespace {

bool IsEmpty(const SkinRect& rect) {
  return rect.right <= rect.left || rect.bottom <= rect.top;
}

bool SameBlit(const ReadoutBlit& a, const ReadoutBlit& b) {
  return a.part == b.part && a.sourceX == b.sourceX && a.target.left == b.target.left &&
         a.target.top == b.target.top && a.target.right == b.target.right &&
         a.target.bottom == b.target.bottom;
}

void Add(ReadoutPlan& plan, ReadoutPartId part, int32_t sourceX, SkinRect target) {
  if (plan.count >= READOUT_MAX_BLITS) return;
  plan.blits[plan.count++] = ReadoutBlit{part, sourceX, target};
}

// Frame `frame` of a part's strip over the part's place; a frame the strip lacks shows frame 0.
void AddFrame(ReadoutPlan& plan, const ReadoutLayout& layout, ReadoutPartId id, int32_t frame) {
  const ReadoutPart& part = layout.parts[id];
  if (!part.present) return;
  if (frame < 0 || frame >= ReadoutFramesOf(id)) frame = 0;
  Add(plan, id, frame * part.width,
      SkinRect{part.x, part.y, part.x + part.width, part.y + part.height});
}

// The frame of the digit strip for one character.
int32_t DigitFrameOf(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  return c == '-' ? DIGIT_DASH_FRAME : DIGIT_BLANK_FRAME;
}

// How many of a bar's `width` pixels are lit at `percent` (held to 0..100): rounded to the
// nearest whole segment when the bar has segments, to the nearest pixel otherwise.
int32_t LitBarWidth(int32_t width, int32_t segments, int32_t percent) {
  if (percent < 0) percent = 0;
  if (percent > 100) percent = 100;
  if (segments <= 0) return (width * percent + 50) / 100;
  int32_t litSegments = (segments * percent + 50) / 100;
  return width * litSegments / segments;
}

// The frame on digit `i` of `count`: the figure right-aligned with blanks before it, or dashes
// all along when it has more characters than there are digits.
int32_t FrameOnDigit(const char* figure, int32_t length, int32_t count, int32_t i) {
  if (length > count) return DIGIT_DASH_FRAME;
  int32_t at = i - (count - length);
  return at < 0 ? DIGIT_BLANK_FRAME : DigitFrameOf(figure[at]);
}

void AddDigits(ReadoutPlan& plan, const ReadoutLayout& layout, const char* figure) {
  const ReadoutPart& digits = layout.parts[READOUT_DIGITS];
  if (!digits.present) return;
  int32_t length = static_cast<int32_t>(strnlen(figure, READOUT_MAX_DIGITS));
  for (int32_t i = 0; i < digits.count; ++i) {
    int32_t frame = FrameOnDigit(figure, length, digits.count, i);
    int32_t left = digits.x + i * digits.step;
    Add(plan, READOUT_DIGITS, frame * digits.width,
        SkinRect{left, digits.y, left + digits.width, digits.y + digits.height});
  }
}

// The lit half from the full frame, the rest from the empty one, so the two always fill the bar.
void AddBar(ReadoutPlan& plan, const ReadoutLayout& layout, int32_t percent) {
  const ReadoutPart& bar = layout.parts[READOUT_BAR];
  if (!bar.present) return;
  int32_t lit = LitBarWidth(bar.width, bar.segments, percent);
  int32_t bottom = bar.y + bar.height;
  Add(plan, READOUT_BAR, bar.width, SkinRect{bar.x, bar.y, bar.x + lit, bottom});
  Add(plan, READOUT_BAR, lit, SkinRect{bar.x + lit, bar.y, bar.x + bar.width, bottom});
}

}  // namespace

ReadoutPlan PlanReadout(const ReadoutLayout& layout, const ReadoutState& state) {
  ReadoutPlan plan;
  AddFrame(plan, layout, READOUT_FACE, 0);
  AddDigits(plan, layout, state.figure);
  AddFrame(plan, layout, READOUT_UNIT, static_cast<int32_t>(state.unit));
  AddBar(plan, layout, state.barPercent);
  AddFrame(plan, layout, READOUT_LINK, state.linked ? 1 : 0);
  AddFrame(plan, layout, READOUT_FAN_MODE, static_cast<int32_t>(state.fanMode));
  AddFrame(plan, layout, READOUT_BACKLIGHT, state.backlightOn ? 1 : 0);
  AddFrame(plan, layout, READOUT_WARNING, state.warning ? 1 : 0);
  return plan;
}

int32_t ChangedReadoutRects(const ReadoutLayout& layout, const ReadoutState* before,
                            const ReadoutState& after, SkinRect (&rects)[READOUT_MAX_CHANGES]) {
  ReadoutPlan next = PlanReadout(layout, after);
  ReadoutPlan previous = before != nullptr ? PlanReadout(layout, *before) : ReadoutPlan{};
  int32_t count = 0;
  auto add = [&](const SkinRect& rect) {
    if (!IsEmpty(rect) && count < READOUT_MAX_CHANGES) rects[count++] = rect;
  };
  for (int32_t i = 0; i < next.count; ++i) {
    if (before != nullptr && SameBlit(previous.blits[i], next.blits[i])) continue;
    if (before != nullptr) add(previous.blits[i].target);
    add(next.blits[i].target);
  }
  return count;
}
