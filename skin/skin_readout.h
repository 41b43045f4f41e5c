#pragma once
// The skin's live meter display: the parts its [Readout] keys name, each with its strip, drawn
// over the background in the state the application last showed. Win32 files only.
#include <windows.h>

#include <string_view>

#include "skin/bitmap_dc.h"
#include "skin/readout_layout.h"
#include "skin/readout_state.h"
#include "skin/skin_bitmap.h"

class SkinReadout {
 public:
  SkinReadout() = default;
  SkinReadout(const SkinReadout&) = delete;
  SkinReadout& operator=(const SkinReadout&) = delete;
  ~SkinReadout() { Release(); }

  // Reads the keys and loads the strips from `directory` (with its trailing backslash), with
  // their twice-size art from `twiceSizeFolder` of it (empty: none), for a display of `dpi`; a
  // part whose key is broken or whose strip does not load or is too small is left out.
  void Load(const SkinProfileReader& reader, const char* directory,
            std::string_view twiceSizeFolder, int32_t dpi);
  // Draws for a display of `dpi` from now on.
  void ScaleTo(int32_t dpi);
  // Draws the state last shown; nothing before the first one, so until then the skin looks as
  // its background draws it.
  void Draw(HDC canvas);
  // Takes the state to show and invalidates, in `window`, only what it changes on screen.
  void Show(HWND window, const ReadoutState& state);
  void Release();

 private:
  // Each loaded strip stays selected into a memory context of its own for as long as the skin is
  // loaded: selecting a bitmap costs many times what copying a frame does.
  struct Strip {
    SkinBitmap bitmap;
    BitmapDc source;
  };

  ReadoutLayout layout;       // in skin pixels, as the keys say
  ReadoutLayout shownLayout;  // on the display; a part whose picture cannot be made is left out
  Strip strips[READOUT_PART_COUNT];
  ReadoutState shown;
  bool anyShown = false;
};
