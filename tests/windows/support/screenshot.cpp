#include "windows/support/screenshot.h"

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

Screenshot::~Screenshot() {
  SelectObject(dc_, previous_);
  DeleteObject(bitmap_);
  DeleteDC(dc_);
}

bool Screenshot::Save(const std::string& path) const {
  int32_t rowSize = (width_ * 3 + 3) & ~3;
  std::vector<uint8_t> rows(static_cast<size_t>(rowSize * height_));
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width_;
  info.bmiHeader.biHeight = height_;  // bottom-up, as the file stores it
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  // GetDIBits wants the bitmap not selected into a device context.
  SelectObject(dc_, previous_);
  int lines = GetDIBits(dc_, bitmap_, 0, height_, rows.data(), &info, DIB_RGB_COLORS);
  SelectObject(dc_, bitmap_);
  return lines == height_ && WriteBmp24(path, width_, height_, rows);
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
