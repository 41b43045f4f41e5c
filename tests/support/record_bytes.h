#pragma once
// A record's memory as bytes, to compare whole records byte for byte, padding included, and
// bytes of a pattern to fill records and stored values with.
#include <cstdint>
#include <cstring>
#include <vector>

template <typename Record>
std::vector<uint8_t> BytesOf(const Record& record) {
  std::vector<uint8_t> bytes(sizeof record);
  std::memcpy(bytes.data(), &record, sizeof record);
  return bytes;
}

// `length` bytes that differ from their neighbours and from zero at the start, so that a byte
// moved, dropped or left as it was shows.
inline std::vector<uint8_t> BytePattern(size_t length, uint8_t seed = 1) {
  std::vector<uint8_t> bytes(length);
  for (size_t i = 0; i < length; ++i) bytes[i] = static_cast<uint8_t>(seed + i * 7);
  return bytes;
}
