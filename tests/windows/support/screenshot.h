#pragma once
// A copy of a window's client area as shown on screen (of this process or another), to read
// pixels from and to save as a test artefact.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

class Screenshot {
 public:
  explicit Screenshot(HWND window);
  // A black picture of that size, for a test to draw what the screen should show on.
  Screenshot(int32_t width, int32_t height);
  ~Screenshot();
  Screenshot(const Screenshot&) = delete;
  Screenshot& operator=(const Screenshot&) = delete;

  int32_t Width() const { return width_; }
  int32_t Height() const { return height_; }
  COLORREF Pixel(int x, int y) const { return GetPixel(dc_, x, y); }
  HDC Canvas() const { return dc_; }
  // Every pixel at once, the top row first: much faster than Pixel for whole-picture checks.
  std::vector<uint32_t> Pixels() const;
  // Saves it as a 24-bit BMP.
  bool Save(const std::string& path) const;

 private:
  // The rows through GetDIBits in `bitsPerPixel`; `height` negative asks for the top row first.
  bool ReadRows(int32_t bitsPerPixel, int32_t height, void* rows) const;

  int32_t width_ = 0;
  int32_t height_ = 0;
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ previous_ = nullptr;
};

// How many pixels differ between two pictures; all of them when the sizes differ.
int64_t CountDifferentPixels(const Screenshot& a, const Screenshot& b);

// Where test artefacts go: build/windows/artifacts, created on first use.
std::string ArtifactPath(const char* fileName);
