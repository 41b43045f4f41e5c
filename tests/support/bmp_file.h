#pragma once
// Reading the size of a Windows bitmap file and writing 24-bit ones, for skins made by tests and
// for screenshots.
#include <cstdint>
#include <string>
#include <vector>

struct BmpSize {
  int32_t width = 0;
  int32_t height = 0;
  int32_t bitsPerPixel = 0;
};

// False when the file is missing or is not a BMP with a 40-byte (or later) header.
bool ReadBmpSize(const std::string& path, BmpSize* size);

// The first 54 bytes of a bitmap file with a 40-byte information header and no colour table, the
// pixels (`imageBytes` of them) right after.
std::vector<uint8_t> BmpHeader(int32_t width, int32_t height, uint16_t bits,
                               uint32_t compression = 0, uint32_t imageBytes = 0);

// `rows` holds blue, green, red bytes, the bottom row first (the top row first for a negative
// `height`), each row padded to 4 bytes.
bool WriteBmp24(const std::string& path, int32_t width, int32_t height,
                const std::vector<uint8_t>& rows);

// A one-colour 24-bit bitmap.
bool WriteSolidBmp24(const std::string& path, int32_t width, int32_t height, uint32_t rgb);
