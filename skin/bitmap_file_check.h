#pragma once
// Whether a skin's bitmap file holds the pixels its header promises. A header that claims more
// (a file cut short, or one that claims an absurd size) would have the system make a bitmap of the
// claimed size, and a Background1 of 12000 by 12000 pixels would size the window far past the
// screen. Plain logic: the caller reads the file's first bytes and its size.
#include <cstddef>
#include <cstdint>

// The file header and the part of the information header the check reads.
constexpr size_t BITMAP_HEADER_BYTES = 54;
constexpr size_t BITMAP_FILE_HEADER_BYTES = 14;
constexpr uint32_t BITMAP_CORE_HEADER_BYTES = 12;
constexpr uint32_t BITMAP_INFO_HEADER_BYTES = 40;

// How the pixel data is stored (the information header's compression field).
constexpr uint32_t BITMAP_RGB = 0;
constexpr uint32_t BITMAP_RLE8 = 1;
constexpr uint32_t BITMAP_RLE4 = 2;
constexpr uint32_t BITMAP_BITFIELDS = 3;

// What a bitmap file's headers say of its pixels.
struct BitmapLayout {
  uint32_t pixelOffset = 0;  // from the start of the file
  uint32_t infoBytes = 0;    // the information header's size; 12 for a core header
  int64_t width = 0;
  int64_t height = 0;  // negative: rows from the top
  uint32_t bitsPerPixel = 0;
  uint32_t compression = BITMAP_RGB;
  uint32_t imageBytes = 0;   // what the header says the pixel data takes; 0 when it says nothing
  uint32_t coloursUsed = 0;  // entries of the colour table; 0 for as many as the depth has
};

// Reads the headers among the first `count` bytes of a file; false when they are not a bitmap's
// ("BM", then a core header or an information header of at least 40 bytes).
bool ReadBitmapLayout(const uint8_t* header, size_t count, BitmapLayout* layout);

// What keeps a file from being taken as a skin bitmap, as the event log tells it.
enum class BitmapFileFault {
  NONE,
  NOT_A_BITMAP,  // no "BM", or a header of no known size or cut short
  BAD_HEADER,    // no width, no height, no such depth, pixels inside the header, or compressed
                 // data of no stated size
  CUT_SHORT,     // fewer pixel bytes than the header claims
};

// What is wrong with the file whose first `count` bytes are `header` and whose size is
// `fileSize`: a Windows bitmap ("BM", a core or an information header, a width above 0, a height
// other than 0, 1 to 32 bits a pixel) whose pixel data, from its offset on, fits in the file has
// no fault.
BitmapFileFault CheckBitmapFile(const uint8_t* header, size_t count, uint64_t fileSize);

// Plain words for the fault ("" for NONE).
const char* DescribeBitmapFileFault(BitmapFileFault fault);

inline bool HoldsItsPixels(const uint8_t* header, size_t count, uint64_t fileSize) {
  return CheckBitmapFile(header, count, fileSize) == BitmapFileFault::NONE;
}
