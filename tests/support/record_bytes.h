#pragma once
// A record's memory as bytes, to compare whole records byte for byte, padding included.
#include <cstdint>
#include <cstring>
#include <vector>

template <typename Record>
std::vector<uint8_t> BytesOf(const Record& record) {
  std::vector<uint8_t> bytes(sizeof record);
  std::memcpy(bytes.data(), &record, sizeof record);
  return bytes;
}
