#include "support/bmp_file.h"

#include <fstream>

namespace {

uint32_t Little32(const unsigned char* bytes) {
  return bytes[0] | bytes[1] << 8 | bytes[2] << 16 | static_cast<uint32_t>(bytes[3]) << 24;
}

void Put16(std::vector<uint8_t>& out, uint32_t value) {
  out.push_back(value & 0xFF);
  out.push_back((value >> 8) & 0xFF);
}

void Put32(std::vector<uint8_t>& out, uint32_t value) {
  Put16(out, value & 0xFFFF);
  Put16(out, value >> 16);
}

int32_t RowSize(int32_t width) {
  return (width * 3 + 3) & ~3;
}

}  // namespace

bool ReadBmpSize(const std::string& path, BmpSize* size) {
  std::ifstream file(path, std::ios::binary);
  unsigned char header[30];
  if (!file.read(reinterpret_cast<char*>(header), sizeof header)) return false;
  if (header[0] != 'B' || header[1] != 'M' || Little32(header + 14) < 40) return false;
  size->width = static_cast<int32_t>(Little32(header + 18));
  size->height = static_cast<int32_t>(Little32(header + 22));
  size->bitsPerPixel = header[28] | header[29] << 8;
  return true;
}

std::vector<uint8_t> BmpHeader(int32_t width, int32_t height, uint16_t bits, uint32_t compression,
                               uint32_t imageBytes) {
  std::vector<uint8_t> out = {'B', 'M'};
  Put32(out, 54 + imageBytes);
  Put32(out, 0);
  Put32(out, 54);
  Put32(out, 40);
  Put32(out, static_cast<uint32_t>(width));
  Put32(out, static_cast<uint32_t>(height));
  Put16(out, 1);
  Put16(out, bits);
  Put32(out, compression);
  Put32(out, imageBytes);
  Put32(out, 2835);
  Put32(out, 2835);
  Put32(out, 0);
  Put32(out, 0);
  return out;
}

bool WriteBmp24(const std::string& path, int32_t width, int32_t height,
                const std::vector<uint8_t>& rows) {
  uint32_t dataSize = static_cast<uint32_t>(RowSize(width) * (height < 0 ? -height : height));
  if (rows.size() != dataSize) return false;
  std::vector<uint8_t> out = BmpHeader(width, height, 24, 0, dataSize);
  out.insert(out.end(), rows.begin(), rows.end());
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(reinterpret_cast<const char*>(out.data()), static_cast<std::streamsize>(out.size()));
  return static_cast<bool>(file);
}

bool WriteSolidBmp24(const std::string& path, int32_t width, int32_t height, uint32_t rgb) {
  std::vector<uint8_t> rows(static_cast<size_t>(RowSize(width) * height), 0);
  for (int32_t y = 0; y < height; ++y) {
    for (int32_t x = 0; x < width; ++x) {
      uint8_t* pixel = &rows[static_cast<size_t>(y * RowSize(width) + x * 3)];
      pixel[0] = rgb & 0xFF;
      pixel[1] = (rgb >> 8) & 0xFF;
      pixel[2] = (rgb >> 16) & 0xFF;
    }
  }
  return WriteBmp24(path, width, height, rows);
}
