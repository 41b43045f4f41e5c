#pragma once
// The 36-nibble command frame the meter understands, and the byte each nibble travels as.
#include <array>
#include <cstdint>

constexpr int METER_FRAME_LENGTH = 36;

constexpr uint8_t CMD_VALUE = 3;
constexpr uint8_t CMD_BACKLIGHT = 8;
constexpr uint8_t CMD_FAN = 9;
constexpr uint8_t CMD_FAN_THRESHOLDS = 10;

// Nibbles in sending order: F, E, the command, its payload, zeros, and the command again.
using MeterFrame = std::array<uint8_t, METER_FRAME_LENGTH>;

// A nibble goes out in the high half of an EPP data byte; the low half is always zero.
constexpr uint8_t WireByte(int32_t nibble) {
  return static_cast<uint8_t>((nibble & 0xF) << 4);
}

// Byte fields carry the low eight bits of their value (256 is sent as 0x00, -1 as 0xFF);
// nibble fields the low four bits.
MeterFrame BuildValueFrame(int32_t value);
MeterFrame BuildFanThresholdsFrame(int32_t lowThreshold, int32_t highThreshold, int32_t fanMode);
MeterFrame BuildBacklightFrame(int32_t backlightState);
MeterFrame BuildFanFrame(int32_t fanValue);
