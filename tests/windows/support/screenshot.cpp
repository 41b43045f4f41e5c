#include "windows/support/screenshot.h"

#include <algorithm>
#include <vector>

#include "support/bmp_file.h"

Screenshot::Screenshot(HWND window) {
  RECT client{};
  GetClientRect(window, &client);
  width_ = client.right;
  height_ = client.bottom;
  HDC windowDc = GetDC(window);
  dc_ = CreateCompatibleDC(windowDc);
  bitmap_ = CreateCompatibleBitmap(windowDc, width_, height_);
  previous_ = SelectObject(dc_, bitmap_);
  BitBlt(dc_, 0, 0, width_, height_, windowDc, 0, 0, SRCCOPY);
  ReleaseDC(window, windowDc);
}

Screenshot::Screenshot(int32_t width, int32_t height) : width_(width), height_(height) {
  HDC screen = GetDC(nullptr);
  dc_ = CreateCompatibleDC(screen);
  bitmap_ = CreateCompatibleBitmap(screen, width_, height_);
  ReleaseDC(nullptr, screen);
  previous_ = SelectObject(dc_, bitmap_);
  PatBlt(dc_, 0, 0, width_, height_, BLACKNESS);
}

Screenshot::~Screenshot() {
  SelectObject(dc_, previous_);
  DeleteObject(bitmap_);
  DeleteDC(dc_);
}

bool Screenshot::ReadRows(int32_t bitsPerPixel, int32_t height, void* rows) const {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width_;
  info.bmiHeader.biHeight = height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = static_cast<WORD>(bitsPerPixel);
  info.bmiHeader.biCompression = BI_RGB;
  // GetDIBits wants the bitmap not selected into a device context.
  SelectObject(dc_, previous_);
  int lines = GetDIBits(dc_, bitmap_, 0, height_, rows, &info, DIB_RGB_COLORS);
  SelectObject(dc_, bitmap_);
  return lines == height_;
}

bool Screenshot::Save(const std::string& path) const {
  int32_t rowSize = (width_ * 3 + 3) & ~3;
  std::vector<uint8_t> rows(static_cast<size_t>(rowSize * height_));
  // Bottom-up, as the file stores it.
  return ReadRows(24, height_, rows.data()) && WriteBmp24(path, width_, height_, rows);
}

std::vector<uint32_t> Screenshot::Pixels() const {
  std::vector<uint32_t> pixels(static_cast<size_t>(width_) * height_);
  if (!ReadRows(32, -height_, pixels.data())) pixels.clear();
  return pixels;
}

int64_t CountDifferentPixels(const Screenshot& a, const Screenshot& b) {
  std::vector<uint32_t> first = a.Pixels();
  std::vector<uint32_t> second = b.Pixels();
  // A picture that could not be read differs from everything.
  if (first.empty() || first.size() != second.size() || a.Width() != b.Width())
    return std::max<int64_t>(1, static_cast<int64_t>(std::max(first.size(), second.size())));
  int64_t different = 0;
  for (size_t i = 0; i < first.size(); ++i)
    different += (first[i] & 0xFFFFFF) != (second[i] & 0xFFFFFF);
  return different;
}

std::string ArtifactPath(const char* fileName) {
  char exe[MAX_PATH];
  DWORD length = GetModuleFileNameA(nullptr, exe, MAX_PATH);
  std::string folder(exe, length);
  folder = folder.substr(0, folder.find_last_of('\\'));  // build/windows/bin
  folder = folder.substr(0, folder.find_last_of('\\')) + "\\artifacts";
  CreateDirectoryA(folder.c_str(), nullptr);
  return folder + "\\" + fileName;
}
