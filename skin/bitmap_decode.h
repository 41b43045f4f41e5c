#pragma once
// The pixels of a skin's bitmap file in one form, whatever form the file has: a core, information,
// V4 or V5 header; 1, 4, 8, 16, 24 or 32 bits a pixel; a colour table, bit fields, RLE8 or RLE4;
// rows from the bottom or from the top. Read here rather than by the system, so that every valid
// file shows the same everywhere (Wine's own loader shows a file with rows from the top as black).
// Plain logic; the caller reads the file.
#include <cstddef>
#include <cstdint>
#include <vector>

// Larger pictures are refused: 4096 x 4096 is far beyond any skin, and a file's few bytes of
// run-length data can claim any size.
constexpr int64_t BITMAP_MAX_PIXELS = int64_t{1} << 24;

struct DecodedBitmap {
  int32_t width = 0;
  int32_t height = 0;
  // 0x00RRGGBB, the top row first: the layout of a 32-bit top-down DIB.
  std::vector<uint32_t> pixels;
};

// Decodes the whole file `file` of `size` bytes. False, leaving `bitmap` as it was, for a file that
// fails HoldsItsPixels, for a form the system does not draw either (JPEG or PNG inside, RLE rows
// from the top, bit fields at other depths than 16 and 32), and for a picture above
// BITMAP_MAX_PIXELS. Colour indices beyond the table, and pixels run-length data leaves out, take
// the table's first colour.
bool DecodeBitmapFile(const uint8_t* file, size_t size, DecodedBitmap* bitmap);
