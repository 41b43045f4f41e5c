#pragma once
// One element of the skin: a push button, radio box, check box, plain image or text, painted
// from a strip of frames side by side. Owned by the SkinPanel. Win32 files only.
#include <windows.h>

#include <cstdint>

#include "skin/bitmap_dc.h"
#include "skin/control_record.h"

constexpr int32_t CONTROL_TEXT_SIZE = 256;

// The same four edges in the other form.
inline RECT ToRect(const SkinRect& rect) {
  return RECT{rect.left, rect.top, rect.right, rect.bottom};
}
inline SkinRect ToSkinRect(const RECT& rect) {
  return SkinRect{rect.left, rect.top, rect.right, rect.bottom};
}

// A bitmap file at its own size; null when it does not load, or when the file does not hold the
// pixels its header claims (skin/bitmap_file_check.h).
HBITMAP LoadBitmapFile(const char* fileName);

class SkinControl : public ControlRecord {
 public:
  SkinControl() = default;
  SkinControl(const SkinControl&) = delete;
  SkinControl& operator=(const SkinControl&) = delete;

  // Places the control and takes its picture: for TEXT `fileName` is the text itself; every
  // other kind loads its strip from that file. False when a strip does not load; the control
  // then keeps its place, rectangle and tooltip and draws nothing.
  bool Setup(int32_t x, int32_t y, int32_t width, int32_t height, const char* fileName,
             ControlKind kind);
  RECT ControlRect() const;
  void Draw(HDC dc);
  void ReleaseBitmap();
  void UpdateState(ControlState newState);

  HBITMAP bitmap = nullptr;
  char tooltip[CONTROL_TEXT_SIZE] = {};
  char text[CONTROL_TEXT_SIZE] = {};

 private:
  void DrawFrame(HDC dc);
  void DrawTextContent(HDC dc);  // not DrawText: windows.h makes that a macro

  BitmapDc strip_;  // the strip, kept selected between paints
};
