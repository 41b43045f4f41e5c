#pragma once
// The SkinPanel: reads the skin once, sizes the window to its main background, holds up to 256
// SkinControls and paints the whole window from bitmaps. Win32 files only.
#include <windows.h>

#include <cstdint>
#include <memory>

#include "skin/bitmap_dc.h"
#include "skin/skin_bitmap.h"
#include "skin/skin_control.h"
#include "skin/skin_file.h"
#include "skin/skin_readout.h"

class SkinPanel {
 public:
  // Reads the skin from `directory` (given with a trailing backslash), section `section`; sizes
  // `owner` to Background1 at the DPI of its monitor and starts the skin poll over itself, with
  // `poll` as the timer procedure of its 20 ms SkinPollTimer.
  SkinPanel* Load(HWND owner, const char* directory, const char* section, TIMERPROC poll);
  // The owner window has moved to a monitor of `dpi` (WM_DPICHANGED): the skin is drawn for it
  // and the window takes the skin's size there, at the top-left corner of `suggested` (null:
  // where it is).
  void ChangeDpi(int32_t dpi, const RECT* suggested);
  // The window's size at `dpi`; false for a skin without a size of its own (no Background1).
  bool DisplaySizeAt(int32_t dpi, SIZE* size) const;
  int32_t Dpi() const { return dpi_; }
  // The size of the window's picture: Background1's at the DPI, or the window's own without one.
  int32_t DisplayWidth() const { return displayWidth_; }
  int32_t DisplayHeight() const { return displayHeight_; }
  void Paint(HDC dc);
  // Releases the tooltip window, the poll timer, the controls, the readout and both backgrounds.
  void Destroy();
  // What the skin's readout shows from now on; repaints only what changes, and nothing for a
  // skin without one.
  void ShowReadout(const ReadoutState& state) { readout.Show(ownerWindow, state); }
  int32_t AddControl(int32_t x, int32_t y, int32_t width, int32_t height, const char* fileName,
                     const char* extra, ControlKind kind);

  int32_t loadError = 0;
  char skinDirectory[256] = {};
  int32_t focusedControl = -1;
  HWND tooltipWindow = nullptr;
  int32_t width = 0;  // Background1's, in skin pixels
  int32_t height = 0;
  HWND ownerWindow = nullptr;
  std::unique_ptr<SkinControl> controls[SKIN_MAX_CONTROLS];
  SkinBitmap background1;
  SkinBitmap background2;
  int32_t controlCount = 0;
  char section[256] = {};
  RECT regions[4] = {};
  int32_t selectedRegion = -1;
  int32_t dragEnabled = 0;
  SkinReadout readout;

 private:
  // The steps of Load, in its order.
  void Reset(HWND owner, const char* directory, const char* sectionName);
  void LoadBackgrounds(const SkinProfileReader& reader);
  void TakeWindowSize();
  void LoadRegions(const SkinProfileReader& reader);
  void LoadControls(const SkinProfileReader& reader);
  void MakeTooltips();
  // The twice-size counterpart of `fileName` as the skin names it; null when it has none.
  const char* TwiceSizeName(const char* fileName, char (&joined)[SKIN_NAME_SIZE]) const;
  void DrawBackgroundsForDpi();
  void MoveTooltips();
  HDC PrepareCanvas();
  void ReleaseCanvas();

  int32_t dpi_ = SKIN_DPI;
  int32_t displayWidth_ = 0;
  int32_t displayHeight_ = 0;
  char twiceSizeFolder_[SKIN_NAME_SIZE] = {};  // the value of TWICE_SIZE_KEY

  // Kept from one paint to the next: the canvas the window is composed on, made once as a copy
  // of Background1 (or black without one) and given the same start on every paint, and the two
  // backgrounds it takes its pixels from.
  HBITMAP canvasBitmap_ = nullptr;
  bool canvasCopiesBackground1_ = false;
  BitmapDc canvas_;
  BitmapDc background1Dc_;
  BitmapDc background2Dc_;
};
