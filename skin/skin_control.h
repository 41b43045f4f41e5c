#pragma once
// One element of the skin: a push button, radio box, check box, plain image or text, painted
// from a strip of frames side by side. Owned by the SkinPanel. Win32 files only.
#include <windows.h>

#include <cstdint>

#include "skin/bitmap_dc.h"
#include "skin/control_record.h"
#include "skin/skin_bitmap.h"
#include "skin/skin_scale.h"

constexpr int32_t CONTROL_TEXT_SIZE = 256;

// The same four edges in the other form.
inline RECT ToRect(const SkinRect& rect) {
  return RECT{rect.left, rect.top, rect.right, rect.bottom};
}
inline SkinRect ToSkinRect(const RECT& rect) {
  return SkinRect{rect.left, rect.top, rect.right, rect.bottom};
}

// The frames of a control's strip: normal, hover, pressed (or checked) and frame 3.
constexpr int32_t CONTROL_FRAMES = 4;

class SkinControl : public ControlRecord {
 public:
  SkinControl() = default;
  SkinControl(const SkinControl&) = delete;
  SkinControl& operator=(const SkinControl&) = delete;

  // Places the control and takes its picture: for TEXT `fileName` is the text itself; every
  // other kind loads its strip from that file (and its twice-size art from `twiceSizeName`, null
  // for none), drawn for a 96-DPI display until ScaleTo says otherwise. False when a strip does
  // not load; the control then keeps its place, rectangle and tooltip and draws nothing.
  bool Setup(int32_t x, int32_t y, int32_t width, int32_t height, const char* fileName,
             ControlKind kind, const char* twiceSizeName = nullptr);
  // In skin pixels.
  RECT ControlRect() const;
  // The ControlRect on the display, where the control is drawn, hit, tipped and invalidated.
  RECT DisplayRect() const;
  // Shows the control on a display of `dpi` from now on.
  void ScaleTo(int32_t dpi);
  void Draw(HDC dc);
  void ReleaseBitmap();
  void UpdateState(ControlState newState);

  SkinBitmap bitmap;  // the strip
  char tooltip[CONTROL_TEXT_SIZE] = {};
  char text[CONTROL_TEXT_SIZE] = {};

 private:
  void DrawFrame(HDC dc);
  void DrawTextContent(HDC dc);  // not DrawText: windows.h makes that a macro

  int32_t dpi_ = SKIN_DPI;
  BitmapDc strip_;  // the strip's picture, kept selected between paints
};
