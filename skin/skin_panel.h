#pragma once
// The SkinPanel: reads the skin once, sizes the window to its main background, holds up to 256
// SkinControls and paints the whole window from bitmaps. Win32 files only.
#include <windows.h>

#include <cstdint>
#include <memory>

#include "skin/bitmap_dc.h"
#include "skin/skin_control.h"
#include "skin/skin_file.h"
#include "skin/skin_readout.h"

class SkinPanel {
 public:
  // Reads the skin from `directory` (given with a trailing backslash), section `section`; sizes
  // `owner` to Background1 and starts the skin poll over itself, with `poll` as the timer
  // procedure of its 20 ms SkinPollTimer.
  SkinPanel* Load(HWND owner, const char* directory, const char* section, TIMERPROC poll);
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
  int32_t width = 0;
  int32_t height = 0;
  HWND ownerWindow = nullptr;
  std::unique_ptr<SkinControl> controls[SKIN_MAX_CONTROLS];
  HBITMAP background1 = nullptr;
  HBITMAP background2 = nullptr;
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
  HDC PrepareCanvas();
  void ReleaseCanvas();

  // Kept from one paint to the next: the canvas the window is composed on, made once as a copy
  // of Background1 (or black without one) and given the same start on every paint, and the two
  // backgrounds it takes its pixels from.
  HBITMAP canvasBitmap_ = nullptr;
  bool canvasCopiesBackground1_ = false;
  BitmapDc canvas_;
  BitmapDc background1Dc_;
  BitmapDc background2Dc_;
};
