#pragma once
// A bitmap of the skin as the display shows it: decoded from its file by the skin's own reader (and
// from the twice-size file beside it, when the skin has one), then made into a 32-bit DIB section
// for the display's DPI. Win32 files only.
#include <windows.h>

#include <cstdint>

#include "skin/bitmap_decode.h"

class SkinBitmap {
 public:
  SkinBitmap() = default;
  ~SkinBitmap() { Release(); }
  SkinBitmap(const SkinBitmap&) = delete;
  SkinBitmap& operator=(const SkinBitmap&) = delete;

  // Reads `fileName`, and `twiceSizeName` (null: none) when that holds a picture of exactly twice
  // the size. False when `fileName` does not load; the bitmap then has no picture.
  bool Load(const char* fileName, const char* twiceSizeName);
  // Makes the picture for `dpi`: of the frames of `frameWidth` x `frameHeight` 1x pixels side by
  // side, the first `frames`, each stretched to fill a cell of `cellWidth` x `cellHeight`. Where
  // the art is made for `dpi` the picture is its file, whole. Returns it (null when it cannot be
  // made); an earlier one is deleted, so it must be selected into no DC by then.
  HBITMAP MakeForDpi(int32_t dpi, int32_t frameWidth, int32_t frameHeight, int32_t frames,
                     int32_t cellWidth, int32_t cellHeight);
  // The picture last made; null before.
  HBITMAP Handle() const { return shown_; }
  bool Loaded() const { return !art_.pixels.empty(); }
  // The size of the 1x file.
  int32_t Width() const { return art_.width; }
  int32_t Height() const { return art_.height; }
  // Deletes the picture and forgets the files.
  void Release();

 private:
  DecodedBitmap art_;
  DecodedBitmap twiceSizeArt_;  // empty when the skin has none for this bitmap
  HBITMAP shown_ = nullptr;
};
