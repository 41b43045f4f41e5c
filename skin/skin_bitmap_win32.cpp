#include "skin/skin_bitmap.h"

#include <cstdio>
#include <cstring>
#include <vector>

#include "log/event_log.h"
#include "skin/bitmap_file_check.h"
#include "skin/skin_scale.h"

namespace {

// The largest file a picture within BITMAP_MAX_PIXELS can take: 32 bits a pixel, and room for the
// headers and a colour table.
constexpr int64_t MAX_FILE_BYTES = BITMAP_MAX_PIXELS * 4 + 65536;

// Logs why the bitmap was refused, naming it in full: a skin's files are often named relatively.
void LogRefusal(const char* fileName, const char* why) {
  char path[MAX_PATH];
  DWORD length = GetFullPathNameA(fileName, sizeof path, path, nullptr);
  LogEvent("Skin bitmap %s %s", length > 0 && length < sizeof path ? path : fileName, why);
}

// The whole file, when it opens and is no larger than a picture Torvex takes can be; if not, the
// event log says why.
bool ReadWholeFile(const char* name, std::vector<uint8_t>& bytes) {
  DWORD attributes = GetFileAttributesA(name);
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    LogRefusal(name, "refused: it is a folder");
    return false;
  }
  HANDLE file = CreateFileA(name, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    DWORD error = GetLastError();
    char why[64];
    snprintf(why, sizeof why, "could not be opened (error %lu)", error);
    bool missing = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
    LogRefusal(name, missing ? "not found" : why);
    return false;
  }
  LARGE_INTEGER size{};
  bool read = GetFileSizeEx(file, &size) != 0;
  if (read && size.QuadPart > MAX_FILE_BYTES) {
    LogRefusal(name, "refused: it is larger than any skin picture Torvex takes");
    read = false;
  }
  if (read) {
    bytes.resize(static_cast<size_t>(size.QuadPart));
    DWORD count = 0;
    read = ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &count, nullptr) &&
           count == bytes.size();
    if (!read) LogRefusal(name, "could not be read");
  }
  CloseHandle(file);
  return read;
}

// The file's pixels, through the header check; if they cannot be had, the event log says why.
bool DecodeFile(const char* name, DecodedBitmap* picture) {
  std::vector<uint8_t> bytes;
  if (!ReadWholeFile(name, bytes)) return false;
  BitmapFileFault fault = CheckBitmapFile(bytes.data(), bytes.size(), bytes.size());
  char why[96];
  if (fault != BitmapFileFault::NONE) {
    snprintf(why, sizeof why, "refused: %s", DescribeBitmapFileFault(fault));
    LogRefusal(name, why);
    return false;
  }
  if (!DecodeBitmapFile(bytes.data(), bytes.size(), picture)) {
    LogRefusal(name, "refused: its pixels are stored in a form Torvex does not read");
    return false;
  }
  return true;
}

BITMAPINFO TopDown32(int32_t width, int32_t height) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  return info;
}

// A DIB section of `width` x `height`, filled with `pixels` when given (black otherwise).
HBITMAP MakeSection(int32_t width, int32_t height, const uint32_t* pixels) {
  BITMAPINFO info = TopDown32(width, height);
  void* bits = nullptr;
  HBITMAP section = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (section == nullptr || bits == nullptr) return section;
  size_t bytes = static_cast<size_t>(width) * height * sizeof(uint32_t);
  if (pixels != nullptr) {
    memcpy(bits, pixels, bytes);
  } else {
    memset(bits, 0, bytes);
  }
  GdiFlush();
  return section;
}

// The pixels of `source` within `rect`, as rows of their own: a frame stretched alone takes no
// colour from its neighbours, whatever the stretch reads around its edges.
std::vector<uint32_t> CutOut(const DecodedBitmap& source, const SkinRect& rect) {
  int32_t width = rect.right - rect.left;
  std::vector<uint32_t> piece;
  piece.reserve(static_cast<size_t>(width) * (rect.bottom - rect.top));
  for (int32_t y = rect.top; y < rect.bottom; ++y) {
    const uint32_t* row = &source.pixels[static_cast<size_t>(y) * source.width + rect.left];
    piece.insert(piece.end(), row, row + width);
  }
  return piece;
}

SkinRect Times(const SkinRect& rect, int32_t factor) {
  return SkinRect{rect.left * factor, rect.top * factor, rect.right * factor, rect.bottom * factor};
}

HBITMAP Stretch(const DecodedBitmap& art, int32_t artScale, const StripStretch& plan,
                ArtStretch stretch) {
  HBITMAP target = MakeSection(plan.width, plan.height, nullptr);
  HDC dc = CreateCompatibleDC(nullptr);
  if (target == nullptr || dc == nullptr) {
    if (dc != nullptr) DeleteDC(dc);
    return target;
  }
  HGDIOBJ previous = SelectObject(dc, target);
  // HALFTONE averages what a target pixel covers; COLORONCOLOR repeats pixels, exact at whole
  // multiples.
  SetStretchBltMode(dc, stretch == ArtStretch::SMOOTH ? HALFTONE : COLORONCOLOR);
  SetBrushOrgEx(dc, 0, 0, nullptr);  // as HALFTONE asks
  for (int32_t i = 0; i < plan.count; ++i) {
    SkinRect source = Times(plan.frames[i].source, artScale);
    const SkinRect& to = plan.frames[i].target;
    int32_t width = source.right - source.left, height = source.bottom - source.top;
    std::vector<uint32_t> piece = CutOut(art, source);
    BITMAPINFO info = TopDown32(width, height);
    StretchDIBits(dc, to.left, to.top, to.right - to.left, to.bottom - to.top, 0, 0, width, height,
                  piece.data(), &info, DIB_RGB_COLORS, SRCCOPY);
  }
  SelectObject(dc, previous);
  DeleteDC(dc);
  return target;
}

}  // namespace

bool SkinBitmap::Load(const char* fileName, const char* twiceSizeName) {
  Release();
  if (!DecodeFile(fileName, &art_)) return false;
  DecodedBitmap twice;
  if (twiceSizeName == nullptr || !DecodeFile(twiceSizeName, &twice)) return true;
  if (twice.width == 2 * art_.width && twice.height == 2 * art_.height) {
    twiceSizeArt_ = std::move(twice);
  } else {
    LogRefusal(twiceSizeName, "refused: it is not twice the size of its 1x picture");
  }
  return true;
}

HBITMAP SkinBitmap::MakeForDpi(int32_t dpi, int32_t frameWidth, int32_t frameHeight, int32_t frames,
                               int32_t cellWidth, int32_t cellHeight) {
  if (shown_ != nullptr) DeleteObject(shown_);
  shown_ = nullptr;
  if (!Loaded()) return nullptr;
  ArtChoice choice = ChooseArt(dpi, !twiceSizeArt_.pixels.empty());
  const DecodedBitmap& art = choice.artScale == 2 ? twiceSizeArt_ : art_;
  if (choice.stretch == ArtStretch::AS_IS) {
    shown_ = MakeSection(art.width, art.height, art.pixels.data());
    return shown_;
  }
  StripStretch plan = PlanStripStretch(art_.width, art_.height, frameWidth, frameHeight, frames,
                                       cellWidth, cellHeight);
  if (plan.count > 0) shown_ = Stretch(art, choice.artScale, plan, choice.stretch);
  return shown_;
}

void SkinBitmap::Release() {
  if (shown_ != nullptr) DeleteObject(shown_);
  shown_ = nullptr;
  art_ = DecodedBitmap{};
  twiceSizeArt_ = DecodedBitmap{};
}
