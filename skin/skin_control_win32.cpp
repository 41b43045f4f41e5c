#include "skin/skin_control.h"

#include <cstdio>
#include <cstring>

#include "skin/control_interaction.h"

namespace {

constexpr COLORREF DISABLED_TEXT_COLOR = 0xC0C0C0;

}  // namespace

bool SkinControl::Setup(int32_t newX, int32_t newY, int32_t newWidth, int32_t newHeight,
                        const char* fileName, ControlKind newKind, const char* twiceSizeName) {
  x = newX;
  y = newY;
  width = newWidth;
  height = newHeight;
  charWidth = newWidth;
  if (newKind == ControlKind::TEXT) {
    std::snprintf(text, sizeof text, "%s", fileName);
  } else {
    bitmap.Load(fileName, twiceSizeName);
  }
  state = ControlState::NORMAL;
  previousState = ControlState::UNSET;
  kind = newKind;
  ScaleTo(dpi_);
  return newKind == ControlKind::TEXT || bitmap.Loaded();
}

RECT SkinControl::ControlRect() const {
  return ToRect(ComputeControlRect(*this, strnlen(text, sizeof text)));
}

RECT SkinControl::DisplayRect() const {
  return ToRect(ScaleRectToDpi(ComputeControlRect(*this, strnlen(text, sizeof text)), dpi_));
}

void SkinControl::ScaleTo(int32_t dpi) {
  dpi_ = dpi;
  if (kind == ControlKind::TEXT) return;
  strip_.Release();  // the picture it holds goes now
  RECT shown = DisplayRect();
  bitmap.MakeForDpi(dpi, width, height, CONTROL_FRAMES, shown.right - shown.left,
                    shown.bottom - shown.top);
}

void SkinControl::Draw(HDC dc) {
  if (kind == ControlKind::TEXT) {
    DrawTextContent(dc);
  } else if (visible) {
    DrawFrame(dc);
  }
}

void SkinControl::DrawFrame(HDC dc) {
  // A strip that did not load leaves the control's place showing the background.
  if (bitmap.Handle() == nullptr) return;
  HDC strip = strip_.Holding(bitmap.Handle());
  if (strip == nullptr) return;
  // Each frame of the display's strip is as wide as the control on the display.
  RECT shown = DisplayRect();
  int32_t frameWidth = shown.right - shown.left;
  BitBlt(dc, shown.left, shown.top, frameWidth, shown.bottom - shown.top, strip,
         FrameSourceX(ChooseFrame(*this), frameWidth), 0, enabled ? SRCCOPY : NOTSRCCOPY);
}

void SkinControl::DrawTextContent(HDC dc) {
  HFONT font = CreateFontA(ScaleToDpi(height, dpi_), ScaleToDpi(charWidth, dpi_), 0, 0, 0, FALSE,
                           FALSE, FALSE, ANSI_CHARSET, OUT_STRING_PRECIS, CLIP_DEFAULT_PRECIS,
                           DEFAULT_QUALITY, VARIABLE_PITCH, "Arial");
  HGDIOBJ previous = SelectObject(dc, font);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, enabled ? textColor : DISABLED_TEXT_COLOR);
  RECT rect = DisplayRect();
  DrawTextExA(dc, text, -1, &rect, 0, nullptr);
  SelectObject(dc, previous);
  DeleteObject(font);
}

void SkinControl::ReleaseBitmap() {
  strip_.Release();
  bitmap.Release();
}

void SkinControl::UpdateState(ControlState newState) {
  UpdateControlState(*this, newState);
}
