#include "skin/bitmap_file_check.h"

namespace {

uint32_t Read16(const uint8_t* bytes) {
  return bytes[0] | static_cast<uint32_t>(bytes[1]) << 8;
}

uint32_t Read32(const uint8_t* bytes) {
  return Read16(bytes) | Read16(bytes + 2) << 16;
}

bool IsPixelDepth(uint32_t bits) {
  return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
}

}  // namespace

bool ReadBitmapLayout(const uint8_t* header, size_t count, BitmapLayout* layout) {
  if (count < BITMAP_FILE_HEADER_BYTES + 4 || header[0] != 'B' || header[1] != 'M') return false;
  BitmapLayout read;
  read.pixelOffset = Read32(header + 10);
  read.infoBytes = Read32(header + 14);
  if (read.infoBytes == BITMAP_CORE_HEADER_BYTES) {
    if (count < BITMAP_FILE_HEADER_BYTES + BITMAP_CORE_HEADER_BYTES) return false;
    read.width = Read16(header + 18);
    read.height = Read16(header + 20);
    read.bitsPerPixel = Read16(header + 24);
  } else {
    if (read.infoBytes < BITMAP_INFO_HEADER_BYTES ||
        count < BITMAP_FILE_HEADER_BYTES + BITMAP_INFO_HEADER_BYTES) {
      return false;
    }
    read.width = static_cast<int32_t>(Read32(header + 18));
    read.height = static_cast<int32_t>(Read32(header + 22));
    read.bitsPerPixel = Read16(header + 28);
    read.compression = Read32(header + 30);
    read.imageBytes = Read32(header + 34);
    read.coloursUsed = Read32(header + 46);
  }
  *layout = read;
  return true;
}

BitmapFileFault CheckBitmapFile(const uint8_t* header, size_t count, uint64_t fileSize) {
  BitmapLayout layout;
  if (!ReadBitmapLayout(header, count, &layout)) return BitmapFileFault::NOT_A_BITMAP;
  // In 64 bits: an information header that claims nearly 4 GB must not wrap around to a small sum
  // in a 32-bit build.
  if (layout.width <= 0 || layout.height == 0 || !IsPixelDepth(layout.bitsPerPixel) ||
      layout.pixelOffset < uint64_t{BITMAP_FILE_HEADER_BYTES} + layout.infoBytes) {
    return BitmapFileFault::BAD_HEADER;
  }
  if (layout.pixelOffset > fileSize) return BitmapFileFault::CUT_SHORT;
  uint64_t available = fileSize - layout.pixelOffset;
  if (layout.compression != BITMAP_RGB && layout.compression != BITMAP_BITFIELDS) {
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
