#include "skin/bitmap_file_check.h"

#include <gtest/gtest.h>

#include <vector>

#include "support/bmp_file.h"

namespace {

TEST(BitmapFileCheck, AFileMustHoldThePixelsItsHeaderClaims) {
  // 400 by 200 at 24 bits: rows of 1200 bytes; 3 by 2 at 24 bits: rows padded from 9 to 12.
  const std::vector<uint8_t> skin = BmpHeader(400, 200, 24);
  const std::vector<uint8_t> small = BmpHeader(3, 2, 24);
  std::vector<uint8_t> core = {
      'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 26, 0, 0,
      0,   12,  0, 0, 0, 4, 0, 2, 0, 1, 0,  8, 0};  // 4 by 2 at 8 bits, 8 bytes
  std::vector<uint8_t> notBitmap = skin;
  notBitmap[1] = 'X';
  std::vector<uint8_t> offsetInHeader = skin;
  offsetInHeader[10] = 20;
  struct Case {
    const char* name;
    std::vector<uint8_t> header;
    size_t count;
    uint64_t fileSize;
    bool whole;
  } cases[] = {
      {"whole", skin, 54, 54 + 240000, true},
      {"with bytes to spare", skin, 54, 54 + 240001, true},
      {"one byte short", skin, 54, 54 + 239999, false},
      {"cut to a third", skin, 54, (54 + 240000) / 3, false},
      {"padded rows", small, 54, 54 + 24, true},
      {"padded rows, short by the padding", small, 54, 54 + 18, false},
      {"rows from the top", BmpHeader(400, -200, 24), 54, 54 + 240000, true},
      {"absurd size, tiny file", BmpHeader(12000, 12000, 24), 54, 254, false},
      {"largest claim", BmpHeader(INT32_MAX, INT32_MIN, 32), 54, 1 << 20, false},
      {"largest claim, largest file", BmpHeader(INT32_MAX, INT32_MIN, 32), 54, UINT64_MAX, true},
      {"zero width", BmpHeader(0, 10, 24), 54, 1000, false},
      {"negative width", BmpHeader(-4, 10, 24), 54, 1000, false},
      {"zero height", BmpHeader(4, 0, 24), 54, 1000, false},
      {"no such depth", BmpHeader(4, 4, 7), 54, 1000, false},
      {"run-length data within the file", BmpHeader(400, 200, 8, 1, 900), 54, 54 + 900, true},
      {"run-length data past the end", BmpHeader(400, 200, 8, 1, 901), 54, 54 + 900, false},
      {"run-length data of no stated size", BmpHeader(400, 200, 8, 1, 0), 54, 5000, false},
      {"core header", core, core.size(), 26 + 8, true},
      {"core header, short", core, core.size(), 26 + 7, false},
      {"core header cut before its depth", core, 20, 1000, false},
      {"information header cut short", skin, 40, 54 + 240000, false},
      {"not a bitmap", notBitmap, 54, 54 + 240000, false},
      {"pixels inside the header", offsetInHeader, 54, 54 + 240000, false},
      {"nothing", skin, 0, 0, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(HoldsItsPixels(c.header.data(), c.count, c.fileSize), c.whole) << c.name;
  }
}

// What the log tells a user whose skin bitmap was refused.
TEST(BitmapFileCheck, EachRefusalHasItsReason) {
  const std::vector<uint8_t> skin = BmpHeader(400, 200, 24);
  std::vector<uint8_t> notBitmap = skin;
  notBitmap[0] = 'P';
  struct Case {
    std::vector<uint8_t> header;
    uint64_t fileSize;
    BitmapFileFault fault;
  } cases[] = {
      {skin, 54 + 240000, BitmapFileFault::NONE},
      {notBitmap, 54 + 240000, BitmapFileFault::NOT_A_BITMAP},
      {BmpHeader(0, 200, 24), 54 + 240000, BitmapFileFault::BAD_HEADER},
      {BmpHeader(400, 200, 8, 1, 0), 5000, BitmapFileFault::BAD_HEADER},
      {skin, 54 + 1000, BitmapFileFault::CUT_SHORT},
      {skin, 20, BitmapFileFault::CUT_SHORT},  // ends inside the header
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CheckBitmapFile(c.header.data(), c.header.size(), c.fileSize), c.fault) << c.fileSize;
  }
}

}  // namespace
