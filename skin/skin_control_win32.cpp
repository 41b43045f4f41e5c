#include "skin/skin_control.h"

#include <cstdio>
#include <cstring>

#include "log/event_log.h"
#include "skin/bitmap_file_check.h"
#include "skin/control_interaction.h"

namespace {

constexpr COLORREF DISABLED_TEXT_COLOR = 0xC0C0C0;

// Logs why the bitmap was refused, naming it in full: a skin's files are often named relatively.
void LogRefusal(const char* fileName, const char* why) {
  char path[MAX_PATH];
  DWORD length = GetFullPathNameA(fileName, sizeof path, path, nullptr);
  LogEvent("Skin bitmap %s %s", length > 0 && length < sizeof path ? path : fileName, why);
}

// Whether the file holds a whole bitmap; if not, the event log says why.
bool IsWholeBitmapFile(const char* fileName) {
  DWORD attributes = GetFileAttributesA(fileName);
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    LogRefusal(fileName, "refused: it is a folder");
    return false;
  }
  HANDLE file = CreateFileA(fileName, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    DWORD error = GetLastError();
    char why[64];
    snprintf(why, sizeof why, "could not be opened (error %lu)", error);
    bool missing = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
    LogRefusal(fileName, missing ? "not found" : why);
    return false;
  }
  uint8_t header[BITMAP_HEADER_BYTES];
  DWORD count = 0;
  LARGE_INTEGER size{};
  BitmapFileFault fault = BitmapFileFault::NOT_A_BITMAP;
  if (ReadFile(file, header, sizeof header, &count, nullptr) && GetFileSizeEx(file, &size)) {
    fault = CheckBitmapFile(header, count, static_cast<uint64_t>(size.QuadPart));
  }
  CloseHandle(file);
  if (fault == BitmapFileFault::NONE) return true;
  char why[96];
  snprintf(why, sizeof why, "refused: %s", DescribeBitmapFileFault(fault));
  LogRefusal(fileName, why);
  return false;
}

}  // namespace

HBITMAP LoadBitmapFile(const char* fileName) {
  if (!IsWholeBitmapFile(fileName)) return nullptr;
  HANDLE bitmap =
      LoadImageA(nullptr, fileName, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_DEFAULTSIZE);
  if (!bitmap) {
    char why[64];
    snprintf(why, sizeof why, "refused: Windows could not load it (error %lu)", GetLastError());
    LogRefusal(fileName, why);
  }
  return static_cast<HBITMAP>(bitmap);
}

bool SkinControl::Setup(int32_t newX, int32_t newY, int32_t newWidth, int32_t newHeight,
                        const char* fileName, ControlKind newKind) {
  x = newX;
  y = newY;
  width = newWidth;
  height = newHeight;
  charWidth = newWidth;
  if (newKind == ControlKind::TEXT) {
    std::snprintf(text, sizeof text, "%s", fileName);
  } else {
    bitmap = LoadBitmapFile(fileName);
  }
  state = ControlState::NORMAL;
  previousState = ControlState::UNSET;
  kind = newKind;
  return newKind == ControlKind::TEXT || bitmap != nullptr;
}

RECT SkinControl::ControlRect() const {
  return ToRect(ComputeControlRect(*this, strnlen(text, sizeof text)));
}

void SkinControl::Draw(HDC dc) {
  if (kind == ControlKind::TEXT) {
    DrawTextContent(dc);
  } else if (visible) {
    DrawFrame(dc);
  }
}

void SkinControl::DrawFrame(HDC dc) {
  // A strip that did not load leaves the control's place showing the background.
  if (bitmap == nullptr) return;
  HDC strip = strip_.Holding(bitmap);
  if (strip == nullptr) return;
  BitBlt(dc, x, y, width, height, strip, FrameSourceX(ChooseFrame(*this), width), 0,
         enabled ? SRCCOPY : NOTSRCCOPY);
}

void SkinControl::DrawTextContent(HDC dc) {
  HFONT font =
      CreateFontA(height, charWidth, 0, 0, 0, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_STRING_PRECIS,
                  CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, VARIABLE_PITCH, "Arial");
  HGDIOBJ previous = SelectObject(dc, font);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, enabled ? textColor : DISABLED_TEXT_COLOR);
  RECT rect = ControlRect();
  DrawTextExA(dc, text, -1, &rect, 0, nullptr);
  SelectObject(dc, previous);
  DeleteObject(font);
}

void SkinControl::ReleaseBitmap() {
  strip_.Release();
  if (bitmap != nullptr) DeleteObject(bitmap);
  bitmap = nullptr;
}

void SkinControl::UpdateState(ControlState newState) {
  UpdateControlState(*this, newState);
}
