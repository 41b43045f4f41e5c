#pragma once
// What the meter sends back: six-nibble temperature packets, one nibble per interrupt, and the
// scenario's injected nibbles.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace vmeter {

constexpr int PACKET_LENGTH = 6;
using TemperaturePacket = std::array<uint8_t, PACKET_LENGTH>;

// First byte (0: its meaning is the meter's own and the program ignores it), the temperature
// byte high nibble first, then the trailer 2, 3.
TemperaturePacket BuildTemperaturePacket(int temperature);

// Hex digits in either case; spaces, commas, colons and dashes may separate them. Anything else
// rejects the whole string, so a typo injects nothing rather than something unintended.
bool ParseInjectNibbles(const std::string& text, std::vector<uint8_t>& nibbles);

// Nibbles as upper-case hex digits, one per nibble: "FE3490...03".
std::string FormatNibbles(const uint8_t* nibbles, size_t count);

}  // namespace vmeter
