#include "skin/bitmap_file_check.h"

namespace {

constexpr size_t FILE_HEADER_BYTES = 14;
constexpr uint32_t CORE_HEADER_BYTES = 12;
constexpr uint32_t INFO_HEADER_BYTES = 40;
constexpr uint32_t BI_RGB = 0;
constexpr uint32_t BI_BITFIELDS = 3;

uint32_t Read16(const uint8_t* bytes) {
  return bytes[0] | static_cast<uint32_t>(bytes[1]) << 8;
}

uint32_t Read32(const uint8_t* bytes) {
  return Read16(bytes) | Read16(bytes + 2) << 16;
}

struct PixelLayout {
  int64_t width = 0;
  int64_t height = 0;  // negative: rows from the top
  uint32_t bitsPerPixel = 0;
  uint32_t compression = BI_RGB;
  uint32_t imageBytes = 0;  // what the header says the pixel data takes; 0 when it says nothing
};

bool ReadLayout(const uint8_t* header, size_t count, uint32_t infoBytes, PixelLayout& layout) {
  if (infoBytes == CORE_HEADER_BYTES) {
    if (count < FILE_HEADER_BYTES + CORE_HEADER_BYTES) return false;
    layout.width = Read16(header + 18);
    layout.height = Read16(header + 20);
    layout.bitsPerPixel = Read16(header + 24);
    return true;
  }
  if (infoBytes < INFO_HEADER_BYTES || count < FILE_HEADER_BYTES + INFO_HEADER_BYTES) return false;
  layout.width = static_cast<int32_t>(Read32(header + 18));
  layout.height = static_cast<int32_t>(Read32(header + 22));
  layout.bitsPerPixel = Read16(header + 28);
  layout.compression = Read32(header + 30);
  layout.imageBytes = Read32(header + 34);
  return true;
}

bool IsPixelDepth(uint32_t bits) {
  return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
}

}  // namespace

BitmapFileFault CheckBitmapFile(const uint8_t* header, size_t count, uint64_t fileSize) {
  if (count < FILE_HEADER_BYTES + 4 || header[0] != 'B' || header[1] != 'M') {
    return BitmapFileFault::NOT_A_BITMAP;
  }
  uint32_t pixelOffset = Read32(header + 10);
  uint32_t infoBytes = Read32(header + 14);
  PixelLayout layout;
  if (!ReadLayout(header, count, infoBytes, layout)) return BitmapFileFault::NOT_A_BITMAP;
  if (layout.width <= 0 || layout.height == 0 || !IsPixelDepth(layout.bitsPerPixel) ||
      pixelOffset < FILE_HEADER_BYTES + infoBytes) {
    return BitmapFileFault::BAD_HEADER;
  }
  if (pixelOffset > fileSize) return BitmapFileFault::CUT_SHORT;
  uint64_t available = fileSize - pixelOffset;
  if (layout.compression != BI_RGB && layout.compression != BI_BITFIELDS) {
    // Compressed data has no size of its own to check against; the header must give one.
    if (layout.imageBytes == 0) return BitmapFileFault::BAD_HEADER;
    return layout.imageBytes <= available ? BitmapFileFault::NONE : BitmapFileFault::CUT_SHORT;
  }
  // Rows are padded to whole 32-bit words. With sides of 32 bits and at most 32 bits a pixel, the
  // product stays below 2^64.
  uint64_t rowBytes = (static_cast<uint64_t>(layout.width) * layout.bitsPerPixel + 31) / 32 * 4;
  uint64_t rows = static_cast<uint64_t>(layout.height < 0 ? -layout.height : layout.height);
  return rowBytes * rows <= available ? BitmapFileFault::NONE : BitmapFileFault::CUT_SHORT;
}

const char* DescribeBitmapFileFault(BitmapFileFault fault) {
  switch (fault) {
    case BitmapFileFault::NONE:
      return "";
    case BitmapFileFault::NOT_A_BITMAP:
      return "it is not a bitmap";
    case BitmapFileFault::BAD_HEADER:
      return "its header describes no picture Torvex can use";
    case BitmapFileFault::CUT_SHORT:
      return "it holds fewer pixels than its header claims (cut short?)";
  }
  return "";
}
