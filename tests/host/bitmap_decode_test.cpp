#include "skin/bitmap_decode.h"

#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <vector>

namespace {

constexpr int32_t W = 3, H = 2;
// The picture every form holds, top row first: red, green, blue; white, black, brown.
constexpr uint32_t PICTURE[W * H] = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF, 0x000000, 0x804020};
// Brown through 5 bits a colour (16, 8 and 4), widened back by repeating the bits as the system
// and image tools do; and through 5, 6 and 5 bits.
constexpr uint32_t BROWN_555 = 0x844221, BROWN_565 = 0x844121;
const std::vector<uint32_t> TABLE(PICTURE, PICTURE + W * H);

void Put(std::vector<uint8_t>& bytes, size_t at, uint32_t value, size_t size) {
  if (bytes.size() < at + size) bytes.resize(at + size);
  for (size_t i = 0; i < size; ++i) bytes[at + i] = static_cast<uint8_t>(value >> (8 * i));
}

// The rows as stored: bottom row first unless `topDown`, pixels packed from the high bits of a
// byte below 8 bits, each row padded to 4 bytes.
std::vector<uint8_t> Rows(int32_t bits, const std::function<uint32_t(int32_t)>& value,
                          bool topDown = false) {
  std::vector<uint8_t> data;
  size_t rowBytes = (W * bits + 31) / 32 * 4;
  for (int32_t stored = 0; stored < H; ++stored) {
    int32_t y = topDown ? stored : H - 1 - stored;
    size_t row = data.size();
    data.resize(row + rowBytes, 0);
    for (int32_t x = 0; x < W; ++x) {
      uint32_t v = value(y * W + x);
      if (bits < 8) {
        data[row + x * bits / 8] |= static_cast<uint8_t>(v << (8 - bits - x * bits % 8));
      } else {
        Put(data, row + x * bits / 8, v, bits / 8);
      }
    }
  }
  return data;
}

// Each pixel as a colour index, or as its colour.
const auto Index = [](int32_t i) { return static_cast<uint32_t>(i); };
const auto Bgr = [](int32_t i) { return PICTURE[i]; };

struct Form {
  const char* name;
  uint32_t headerBytes;
  uint16_t bits;
  uint32_t compression;
  std::vector<uint8_t> data;
  std::vector<uint32_t> palette = {};
  std::array<uint32_t, 3> masks = {};
  bool topDown = false;
  uint32_t coloursUsed = 0;
};

std::vector<uint8_t> FileOf(const Form& form, int32_t width = W, int32_t height = H) {
  std::vector<uint8_t> file(14 + form.headerBytes, 0);
  file[0] = 'B';
  file[1] = 'M';
  Put(file, 14, form.headerBytes, 4);
  bool core = form.headerBytes == 12;
  if (core) {
    Put(file, 18, width, 2);
    Put(file, 20, height, 2);
    Put(file, 22, 1, 2);
    Put(file, 24, form.bits, 2);
  } else {
    Put(file, 18, width, 4);
    Put(file, 22, static_cast<uint32_t>(form.topDown ? -height : height), 4);
    Put(file, 26, 1, 2);
    Put(file, 28, form.bits, 2);
    Put(file, 30, form.compression, 4);
    Put(file, 34, static_cast<uint32_t>(form.data.size()), 4);
    Put(file, 46, form.coloursUsed, 4);
  }
  if (form.compression == 3) {
    for (size_t i = 0; i < 3; ++i) Put(file, 54 + 4 * i, form.masks[i], 4);
  }
  for (uint32_t colour : form.palette) {
    size_t at = file.size();
    Put(file, at, colour, core ? 3 : 4);  // blue, green, red (and a reserved byte)
  }
  Put(file, 10, static_cast<uint32_t>(file.size()), 4);
  file.insert(file.end(), form.data.begin(), form.data.end());
  Put(file, 2, static_cast<uint32_t>(file.size()), 4);
  return file;
}

TEST(BitmapDecode, EveryFormGivesTheSamePictureTopRowFirst) {
  std::vector<uint32_t> brown555(PICTURE, PICTURE + 6), brown565 = brown555;
  brown555[5] = BROWN_555;
  brown565[5] = BROWN_565;
  auto five = [](uint32_t c) { return (c >> 19 & 31) << 10 | (c >> 11 & 31) << 5 | (c >> 3 & 31); };
  auto fiveSixFive = [](uint32_t c) {
    return (c >> 19 & 31) << 11 | (c >> 10 & 63) << 5 | (c >> 3 & 31);
  };
  auto reversed = [](uint32_t c) { return (c >> 16 & 255) | (c & 0xFF00) | (c & 255) << 16; };
  struct Case {
    Form form;
    std::vector<uint32_t> expected;
  } cases[] = {
      // clang-format off
      {{"24 bits", 40, 24, 0, Rows(24, Bgr)}, TABLE},
      {{"24 bits from the top", 40, 24, 0, Rows(24, Bgr, true), {}, {}, true}, TABLE},
      {{"32 bits, the fourth byte ignored", 40, 32, 0,
        Rows(32, [](int32_t i) { return PICTURE[i] | 0x7F000000u; })}, TABLE},
      {{"32-bit fields in another order", 40, 32, 3,
        Rows(32, [&](int32_t i) { return reversed(PICTURE[i]); }), {}, {0xFF, 0xFF00, 0xFF0000}},
       TABLE},
      {{"V4 header, 32-bit fields from the top", 108, 32, 3, Rows(32, Bgr, true), {},
        {0xFF0000, 0xFF00, 0xFF}, true}, TABLE},
      {{"V5 header, 16 bits", 124, 16, 0, Rows(16, [&](int32_t i) { return five(PICTURE[i]); })},
       brown555},
      {{"16-bit fields 5-6-5", 40, 16, 3,
        Rows(16, [&](int32_t i) { return fiveSixFive(PICTURE[i]); }), {}, {0xF800, 0x07E0, 0x1F}},
       brown565},
      {{"8 bits", 40, 8, 0, Rows(8, Index), TABLE}, TABLE},
      {{"4 bits", 40, 4, 0, Rows(4, Index), TABLE}, TABLE},
      {{"1 bit", 40, 1, 0, Rows(1, [](int32_t i) { return Index(i % 2); }), {0xFFFFFF, 0}},
       {0xFFFFFF, 0, 0xFFFFFF, 0, 0xFFFFFF, 0}},
      {{"core header, 8 bits", 12, 8, 0, Rows(8, Index), TABLE}, TABLE},
      {{"an index past a short table takes its first colour", 40, 8, 0, Rows(8, Index), TABLE, {},
        false, 5}, {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF, 0x000000, 0xFF0000}},
      // Bottom row as it is (3 pixels, padded), end of row, then three runs of one, end.
      {{"RLE8", 40, 8, 1, {0, 3, 3, 4, 5, 0, 0, 0, 1, 0, 1, 1, 1, 2, 0, 1}, TABLE}, TABLE},
      // White, then a move right 1 and up 1, blue, end: the pixels passed over take colour 0.
      {{"RLE8 with a move", 40, 8, 1, {1, 3, 0, 2, 1, 1, 1, 2, 0, 1}, TABLE},
       {0xFF0000, 0xFF0000, 0x0000FF, 0xFFFFFF, 0xFF0000, 0xFF0000}},
      // Bottom row as it is (3 nibbles in 2 bytes), end of row; a run of 3 alternating 0 and 1.
      {{"RLE4", 40, 4, 2, {0, 3, 0x34, 0x50, 0, 0, 3, 0x01, 0, 1}, TABLE},
       {0xFF0000, 0x00FF00, 0xFF0000, 0xFFFFFF, 0x000000, 0x804020}},
      // clang-format on
  };
  for (const Case& c : cases) {
    std::vector<uint8_t> file = FileOf(c.form);
    DecodedBitmap bitmap;
    ASSERT_TRUE(DecodeBitmapFile(file.data(), file.size(), &bitmap)) << c.form.name;
    EXPECT_EQ(bitmap.width, W) << c.form.name;
    EXPECT_EQ(bitmap.height, H) << c.form.name;
    EXPECT_EQ(bitmap.pixels, c.expected) << c.form.name;
  }
}

TEST(BitmapDecode, FormsTheSystemDoesNotDrawAndAbsurdSizesAreRefused) {
  std::vector<uint8_t> runLength = {0, 3, 3, 4, 5, 0, 0, 0, 1};
  struct Case {
    Form form;
    int32_t width, height;
  } cases[] = {
      {{"RLE8 from the top", 40, 8, 1, runLength, TABLE, {}, true}, W, H},
      {{"JPEG inside", 40, 24, 4, runLength}, W, H},
      {{"bit fields at 24 bits", 40, 24, 3, Rows(24, Bgr), {}, {0xFF0000, 0xFF00, 0xFF}}, W, H},
      {{"RLE4 at 8 bits", 40, 8, 2, runLength, TABLE}, W, H},
      // A few bytes of run-length data claiming a picture of 25 million pixels.
      {{"absurd size", 40, 8, 1, runLength, TABLE}, 5000, 5000},
  };
  for (const Case& c : cases) {
    std::vector<uint8_t> file = FileOf(c.form, c.width, c.height);
    DecodedBitmap bitmap;
    bitmap.width = 7;
    EXPECT_FALSE(DecodeBitmapFile(file.data(), file.size(), &bitmap)) << c.form.name;
    EXPECT_EQ(bitmap.width, 7) << c.form.name << ": left as it was";
  }
}

}  // namespace
