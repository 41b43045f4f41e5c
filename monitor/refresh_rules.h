#pragma once
// The decisions of a refresh pass: the figure shown for each item, the backlight state and the
// fan value. Plain arithmetic on values the pass has sampled.
#include <cstdint>

#include "settings/settings_records.h"

// x in total as the nearest whole percent, halves rounded up. A total of 0 (a disk or memory
// query that failed) gives 0 rather than a division by zero.
int32_t PercentageOf(uint64_t x, uint64_t total);

// The used share when `showUsed` is set, else the available share.
int32_t SpaceFigure(uint64_t total, uint64_t available, bool showUsed);

// The "Fan Speed" figure: what the fan is being told, in percent.
int32_t FanSpeedFigure(int32_t fanMode, int32_t temperature, int32_t lowThreshold,
                       int32_t highThreshold, int32_t fanRatio);

// Whether the minute of the day `now` lies in the daily window [from, to); a window whose end
// comes before its start runs across midnight, and one whose ends are equal is never inside.
bool IsInsideDailyWindow(int32_t fromMinute, int32_t toMinute, int32_t nowMinute);

int32_t MinuteOfDay(int32_t hour, int32_t minute);

int32_t BacklightState(int32_t backlightMode, int32_t fromMinute, int32_t toMinute,
                       int32_t nowMinute);

// The CMD_FAN value: 0 off, the ratio in manual mode, 1 (let the meter decide) otherwise.
int32_t FanValue(int32_t fanMode, int32_t fanRatio);

// The mode the CMD_FAN value stands for: a mode only a damaged record can hold lets the meter
// decide, as "Auto" does.
int32_t FanModeInEffect(int32_t fanMode);
