#include "skin/skin_readout.h"

#include "log/event_log.h"
#include "skin/readout_plan.h"
#include "skin/skin_control.h"

namespace {

bool StripFits(ReadoutPartId id, const ReadoutPart& part, HBITMAP strip, const char* fileName) {
  BITMAP size{};
  if (GetObjectA(strip, sizeof size, &size) == 0) return false;
  if (StripHoldsFrames(id, part, size.bmWidth, size.bmHeight)) return true;
  LogEvent("Skin key [%s] %s: its strip %s is too small for %d frames of %dx%d, part left out",
           READOUT_SECTION, ReadoutKeyOf(id), fileName, static_cast<int>(ReadoutFramesOf(id)),
           static_cast<int>(part.width), static_cast<int>(part.height));
  return false;
}

}  // namespace

void SkinReadout::Load(const SkinProfileReader& reader, const char* directory) {
  Release();
  layout = ReadReadoutLayout(reader, READOUT_SECTION);
  for (int32_t i = 0; i < READOUT_PART_COUNT; ++i) {
    ReadoutPart& part = layout.parts[i];
    if (!part.present) continue;
    char joined[SKIN_NAME_SIZE];
    JoinSkinFileName(directory, part.fileName, joined, sizeof joined);
    HBITMAP bitmap = LoadBitmapFile(joined);
    Strip& strip = strips[i];
    if (bitmap != nullptr && StripFits(static_cast<ReadoutPartId>(i), part, bitmap, joined) &&
        strip.source.Holding(bitmap) != nullptr) {
      strip.bitmap = bitmap;
      continue;
    }
    strip.source.Release();
    if (bitmap != nullptr) DeleteObject(bitmap);
    part.present = false;
  }
}

void SkinReadout::Draw(HDC canvas) {
  if (!anyShown) return;
  ReadoutPlan plan = PlanReadout(layout, shown);
  for (int32_t i = 0; i < plan.count; ++i) {
    const ReadoutBlit& blit = plan.blits[i];
    const SkinRect& target = blit.target;
    if (target.right <= target.left || target.bottom <= target.top) continue;
    Strip& strip = strips[blit.part];
    BitBlt(canvas, target.left, target.top, target.right - target.left, target.bottom - target.top,
           strip.source.Holding(strip.bitmap), blit.sourceX, 0, SRCCOPY);
  }
}

void SkinReadout::Show(HWND window, const ReadoutState& state) {
  if (anyShown && state == shown) return;
  SkinRect changed[READOUT_MAX_CHANGES];
  int32_t count = ChangedReadoutRects(layout, anyShown ? &shown : nullptr, state, changed);
  shown = state;
  anyShown = true;
  for (int32_t i = 0; i < count; ++i) {
    RECT area = ToRect(changed[i]);
    InvalidateRect(window, &area, FALSE);
  }
}

void SkinReadout::Release() {
  for (Strip& strip : strips) {
    strip.source.Release();  // before the bitmap it holds goes
    if (strip.bitmap != nullptr) DeleteObject(strip.bitmap);
    strip.bitmap = nullptr;
  }
  layout = ReadoutLayout{};
  anyShown = false;
}
