#include "monitor/refresh_pass.h"

#include "monitor/refresh_rules.h"
#include "settings/record_field_store.h"

namespace {

bool IsDriveLetter(uint8_t letter) {
  return (letter >= 'A' && letter <= 'Z') || (letter >= 'a' && letter <= 'z');
}

// A byte that is no letter names no disk: it is not asked for (a 0 would even make an empty path,
// which some systems read as the current folder's disk).
ItemFigure DiskFigure(RefreshSystem& system, const DisplayItemRecord& display) {
  const uint8_t letter = LoadField(display.driveLetter);
  if (!IsDriveLetter(letter)) return {0, true};
  SpaceFigures disk = system.QueryDiskSpace(static_cast<char>(letter));
  if (disk.total == 0) return {0, true};
  return {SpaceFigure(disk.total, disk.available, LoadField(display.hddUsed) != 0), false};
}

}  // namespace

ItemFigure WorkOutFigure(RefreshSystem& system, int32_t itemType, const DisplayItemRecord& display,
                         const SystemControlRecord& control, int32_t cpuUsage,
                         int32_t temperature) {
  switch (itemType) {
    case ITEM_HDD_SPACE:
      return DiskFigure(system, display);
    case ITEM_CPU_USAGE:
      return {cpuUsage};
    case ITEM_RAM_SPACE: {
      MemoryFigures memory = system.QueryMemory();
      return {SpaceFigure(memory.physical.total, memory.physical.available,
                          LoadField(display.ramUsed) != 0)};
    }
    case ITEM_PAGE_FILE_SPACE: {
      MemoryFigures memory = system.QueryMemory();
      return {SpaceFigure(memory.pageFile.total, memory.pageFile.available,
                          LoadField(display.pageUsed) != 0)};
    }
    case ITEM_TEMPERATURE:
      return {temperature};
    case ITEM_FAN_SPEED:
      return {FanSpeedFigure(LoadField(control.fanMode), temperature,
                             LoadField(control.lowThreshold), LoadField(control.highThreshold),
                             LoadField(control.fanRatio))};
    default:  // "None", or an item only a damaged record can hold
      return {};
  }
}

PassOutcome RunRefreshPass(RefreshSystem& system, const DisplayItemRecord& display,
                           const SystemControlRecord& control) {
  PassOutcome outcome;
  system.StopRefreshTimer();
  ClockTime now = system.ReadLocalTime();
  // The sampler runs on every pass whatever is shown, so each CPU figure spans one period.
  int32_t cpuUsage = system.TakeCpuSample();
  TemperatureSample temperature = system.ReadTemperature();
  outcome.temperature = temperature.degrees;
  outcome.temperatureFresh = temperature.fresh;
  outcome.itemType = LoadField(display.itemType);
  const ItemFigure figure =
      WorkOutFigure(system, outcome.itemType, display, control, cpuUsage, temperature.degrees);
  // The frame carries the figure's low byte, and that is what the meter shows.
  outcome.figure = figure.value & 0xFF;
  outcome.driveUnavailable = figure.driveUnavailable;
  outcome.linked = system.IsMeterLinked();
  system.SendFrame(BuildValueFrame(outcome.figure));
  system.SendFrame(BuildFanThresholdsFrame(LoadField(control.lowThreshold),
                                           LoadField(control.highThreshold),
                                           LoadField(control.fanMode)));
  int32_t from =
      MinuteOfDay(LoadField(control.backlightFrom.wHour), LoadField(control.backlightFrom.wMinute));
  int32_t to =
      MinuteOfDay(LoadField(control.backlightTo.wHour), LoadField(control.backlightTo.wMinute));
  int32_t backlight =
      BacklightState(LoadField(control.backlightMode), from, to, MinuteOfDay(now.hour, now.minute));
  outcome.backlightOn = backlight != 0;
  system.SendFrame(BuildBacklightFrame(backlight));
  int32_t fanMode = LoadField(control.fanMode);
  outcome.fanMode = FanModeInEffect(fanMode);
  system.SendFrame(BuildFanFrame(FanValue(fanMode, LoadField(control.fanRatio))));
  system.StartRefreshTimer();
  return outcome;
}
