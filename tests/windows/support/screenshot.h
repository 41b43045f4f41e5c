#pragma once
// A copy of a window's client area as shown on screen (of this process or another), to read
// pixels from and to save as a test artefact.
#include <windows.h>

#include <cstdint>
#include <string>

class Screenshot {
 public:
  explicit Screenshot(HWND window);
  ~Screenshot();
  Screenshot(const Screenshot&) = delete;
  Screenshot& operator=(const Screenshot&) = delete;

  int32_t Width() const { return width_; }
  int32_t Height() const { return height_; }
  COLORREF Pixel(int x, int y) const { return GetPixel(dc_, x, y); }
  // Saves it as a 24-bit BMP.
  bool Save(const std::string& path) const;

 private:
  int32_t width_ = 0;
  int32_t height_ = 0;
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ previous_ = nullptr;
};

// Where test artefacts go: build/windows/artifacts, created on first use.
std::string ArtifactPath(const char* fileName);
