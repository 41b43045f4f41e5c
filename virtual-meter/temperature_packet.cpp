#include "virtual-meter/temperature_packet.h"

namespace vmeter {

TemperaturePacket BuildTemperaturePacket(int temperature) {
  uint8_t byte = static_cast<uint8_t>(temperature);
  return {0, 0, static_cast<uint8_t>(byte >> 4), static_cast<uint8_t>(byte & 0xF), 2, 3};
}

bool ParseInjectNibbles(const std::string& text, std::vector<uint8_t>& nibbles) {
  std::vector<uint8_t> parsed;
  for (char c : text) {
    if (c == ' ' || c == '\t' || c == ',' || c == ':' || c == '-') continue;
    if (c >= '0' && c <= '9') {
      parsed.push_back(static_cast<uint8_t>(c - '0'));
    } else if (c >= 'a' && c <= 'f') {
      parsed.push_back(static_cast<uint8_t>(c - 'a' + 10));
    } else if (c >= 'A' && c <= 'F') {
      parsed.push_back(static_cast<uint8_t>(c - 'A' + 10));
    } else {
      return false;
    }
  }
  nibbles = parsed;
  return true;
}

std::string FormatNibbles(const uint8_t* nibbles, size_t count) {
  static const char DIGITS[] = "0123456789ABCDEF";
  std::string text;
  text.reserve(count);
  for (size_t i = 0; i < count; ++i) text.push_back(DIGITS[nibbles[i] & 0xF]);
  return text;
}

}  // namespace vmeter
