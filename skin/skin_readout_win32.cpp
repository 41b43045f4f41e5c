#include "skin/skin_readout.h"

#include "log/event_log.h"
#include "skin/readout_plan.h"
#include "skin/skin_control.h"
#include "skin/skin_scale.h"

namespace {

bool StripFits(ReadoutPartId id, const ReadoutPart& part, const SkinBitmap& strip,
               const char* fileName) {
  if (StripHoldsFrames(id, part, strip.Width(), strip.Height())) return true;
  LogEvent("Skin key [%s] %s: its strip %s is too small for %d frames of %dx%d, part left out",
           READOUT_SECTION, ReadoutKeyOf(id), fileName, static_cast<int>(ReadoutFramesOf(id)),
           static_cast<int>(part.width), static_cast<int>(part.height));
  return false;
}

}  // namespace

void SkinReadout::Load(const SkinProfileReader& reader, const char* directory,
                       std::string_view twiceSizeFolder, int32_t dpi) {
  Release();
  layout = ReadReadoutLayout(reader, READOUT_SECTION);
  for (int32_t i = 0; i < READOUT_PART_COUNT; ++i) {
    ReadoutPart& part = layout.parts[i];
    if (!part.present) continue;
    char joined[SKIN_NAME_SIZE], twiceSize[SKIN_NAME_SIZE];
    JoinSkinFileName(directory, part.fileName, joined, sizeof joined);
    bool twice = FormTwiceSizeFileName(directory, twiceSizeFolder, part.fileName, twiceSize,
                                       sizeof twiceSize);
    SkinBitmap& bitmap = strips[i].bitmap;
    if (bitmap.Load(joined, twice ? twiceSize : nullptr) &&
        StripFits(static_cast<ReadoutPartId>(i), part, bitmap, joined)) {
      continue;
    }
    bitmap.Release();
    part.present = false;
  }
  ScaleTo(dpi);
}

void SkinReadout::ScaleTo(int32_t dpi) {
  shownLayout = ScaleReadoutLayout(layout, dpi);
  for (int32_t i = 0; i < READOUT_PART_COUNT; ++i) {
    ReadoutPart& shown = shownLayout.parts[i];
    Strip& strip = strips[i];
    strip.source.Release();  // before the picture it holds goes
    if (!shown.present) continue;
    const ReadoutPart& part = layout.parts[i];
    HBITMAP picture = strip.bitmap.MakeForDpi(dpi, part.width, part.height,
                                              ReadoutFramesOf(static_cast<ReadoutPartId>(i)),
                                              shown.width, shown.height);
    if (picture == nullptr || strip.source.Holding(picture) == nullptr) shown.present = false;
  }
}

void SkinReadout::Draw(HDC canvas) {
  if (!anyShown) return;
  ReadoutPlan plan = PlanReadout(shownLayout, shown);
  for (int32_t i = 0; i < plan.count; ++i) {
    const ReadoutBlit& blit = plan.blits[i];
    const SkinRect& target = blit.target;
    if (target.right <= target.left || target.bottom <= target.top) continue;
    Strip& strip = strips[blit.part];
    BitBlt(canvas, target.left, target.top, target.right - target.left, target.bottom - target.top,
           strip.source.Holding(strip.bitmap.Handle()), blit.sourceX, 0, SRCCOPY);
  }
}

void SkinReadout::Show(HWND window, const ReadoutState& state) {
  if (anyShown && state == shown) return;
  SkinRect changed[READOUT_MAX_CHANGES];
  int32_t count = ChangedReadoutRects(shownLayout, anyShown ? &shown : nullptr, state, changed);
  shown = state;
  anyShown = true;
  for (int32_t i = 0; i < count; ++i) {
    RECT area = ToRect(changed[i]);
    InvalidateRect(window, &area, FALSE);
  }
}

void SkinReadout::Release() {
  for (Strip& strip : strips) {
    strip.source.Release();  // before the picture it holds goes
    strip.bitmap.Release();
  }
  layout = ReadoutLayout{};
  shownLayout = ReadoutLayout{};
  anyShown = false;
}
