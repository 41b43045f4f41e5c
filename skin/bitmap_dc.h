#pragma once
// A memory device context that keeps a bitmap selected from one paint to the next: under Wine a
// DC made and a bitmap selected for every blit cost more than the blit. Win32 files only.
#include <windows.h>

class BitmapDc {
 public:
  BitmapDc() = default;
  ~BitmapDc() { Release(); }
  BitmapDc(const BitmapDc&) = delete;
  BitmapDc& operator=(const BitmapDc&) = delete;

  // The DC with `bitmap` selected, made on first use and reselected only when the bitmap is
  // another; null when no DC can be made or the bitmap cannot be selected. The bitmap stays the
  // caller's, and may be deleted only after Release.
  HDC Holding(HBITMAP bitmap);
  // Deselects the bitmap and deletes the DC.
  void Release();

 private:
  HDC dc_ = nullptr;
  HGDIOBJ previous_ = nullptr;
  HBITMAP selected_ = nullptr;
};
