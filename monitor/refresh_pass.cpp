#include "monitor/refresh_pass.h"

#include "meter/meter_link.h"
#include "monitor/refresh_rules.h"

int32_t WorkOutFigure(RefreshSystem& system, const DisplayItemRecord& display,
                      const SystemControlRecord& control, int32_t cpuUsage, int32_t temperature) {
  switch (display.itemType) {
    case ITEM_HDD_SPACE: {
      SpaceFigures disk = system.QueryDiskSpace(static_cast<char>(display.driveLetter));
      return SpaceFigure(disk.total, disk.available, display.hddUsed != 0);
    }
    case ITEM_CPU_USAGE:
      return cpuUsage;
    case ITEM_RAM_SPACE: {
      MemoryFigures memory = system.QueryMemory();
      return SpaceFigure(memory.physical.total, memory.physical.available, display.ramUsed != 0);
    }
    case ITEM_PAGE_FILE_SPACE: {
      MemoryFigures memory = system.QueryMemory();
      return SpaceFigure(memory.pageFile.total, memory.pageFile.available, display.pageUsed != 0);
    }
    case ITEM_TEMPERATURE:
      return temperature;
    case ITEM_FAN_SPEED:
      return FanSpeedFigure(control.fanMode, temperature, control.lowThreshold,
                            control.highThreshold, control.fanRatio);
    default:  // "None", or an item only a damaged record can hold
      return 0;
  }
}

void RunRefreshPass(RefreshSystem& system, const DisplayItemRecord& display,
                    const SystemControlRecord& control) {
  system.StopRefreshTimer();
  ClockTime now = system.ReadLocalTime();
  // The sampler runs on every pass whatever is shown, so each CPU figure spans one period.
  int32_t cpuUsage = system.TakeCpuSample();
  int32_t temperature = meterLink.temperatureReading.load(std::memory_order_relaxed);
  system.SendFrame(BuildValueFrame(WorkOutFigure(system, display, control, cpuUsage, temperature)));
  system.SendFrame(
      BuildFanThresholdsFrame(control.lowThreshold, control.highThreshold, control.fanMode));
  int32_t from = MinuteOfDay(control.backlightFrom.wHour, control.backlightFrom.wMinute);
  int32_t to = MinuteOfDay(control.backlightTo.wHour, control.backlightTo.wMinute);
  system.SendFrame(BuildBacklightFrame(
      BacklightState(control.backlightMode, from, to, MinuteOfDay(now.hour, now.minute))));
  system.SendFrame(BuildFanFrame(FanValue(control.fanMode, control.fanRatio)));
  system.StartRefreshTimer();
}
