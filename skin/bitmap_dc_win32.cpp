#include "skin/bitmap_dc.h"

HDC BitmapDc::Holding(HBITMAP bitmap) {
  if (dc_ == nullptr) dc_ = CreateCompatibleDC(nullptr);
  if (dc_ == nullptr) return nullptr;
  if (bitmap == selected_) return dc_;
  HGDIOBJ previous = SelectObject(dc_, bitmap);
  if (previous == nullptr) return nullptr;         // not a bitmap, or one selected elsewhere
  if (previous_ == nullptr) previous_ = previous;  // the DC's own, put back at the release
  selected_ = bitmap;
  return dc_;
}

void BitmapDc::Release() {
  if (dc_ == nullptr) return;
  if (previous_ != nullptr) SelectObject(dc_, previous_);
  DeleteDC(dc_);
  dc_ = nullptr;
  previous_ = nullptr;
  selected_ = nullptr;
}
