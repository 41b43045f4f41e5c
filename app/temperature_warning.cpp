#include "app/temperature_warning.h"

#include <cstdio>

#include "log/event_log.h"

namespace {

int32_t CountedPass(int32_t count, bool counts) {
  if (!counts) return 0;
  return count < WARNING_PASSES ? count + 1 : count;
}

}  // namespace

WarningChange TrackTemperatureWarning(TemperatureWarning& warning, const PassOutcome& outcome,
                                      int32_t level) {
  if (!outcome.linked || !outcome.temperatureFresh) {
    warning.hotPasses = 0;
    warning.coolPasses = 0;
    if (!warning.raised) return WarningChange::NONE;
    warning.raised = false;
    return WarningChange::CLEARED;
  }
  warning.reading = outcome.temperature;
  warning.level = level;
  // 64-bit: a damaged record may hold any level.
  int64_t below = int64_t{level} - outcome.temperature;
  warning.hotPasses = CountedPass(warning.hotPasses, below <= 0);
  warning.coolPasses = CountedPass(warning.coolPasses, below >= WARNING_CLEARANCE);
  if (!warning.raised && warning.hotPasses >= WARNING_PASSES) {
    warning.raised = true;
    ++warning.raisings;
    return WarningChange::RAISED;
  }
  if (warning.raised && warning.coolPasses >= WARNING_PASSES) {
    warning.raised = false;
    return WarningChange::CLEARED;
  }
  return WarningChange::NONE;
}

void LogWarningChange(WarningChange change, const TemperatureWarning& warning,
                      const PassOutcome& outcome) {
  int reading = static_cast<int>(warning.reading);
  int level = static_cast<int>(warning.level);
  if (change == WarningChange::RAISED) {
    LogEvent("Temperature warning raised: the meter reads %d C, the warning level is %d C", reading,
             level);
  } else if (change != WarningChange::CLEARED) {
    return;
  } else if (!outcome.linked) {
    LogEvent("Temperature warning cleared: no meter linked");
  } else if (!outcome.temperatureFresh) {
    LogEvent("Temperature warning cleared: the meter has stopped sending its temperature");
  } else {
    LogEvent("Temperature warning cleared: the meter reads %d C, the warning level is %d C",
             reading, level);
  }
}

bool IsWarningUntold(const TemperatureWarning& warning, uint32_t lastTold) {
  return warning.raised && warning.raisings != lastTold;
}

void FormatWarningNotice(const TemperatureWarning& warning, const char* degreeSign, char* text,
                         size_t size) {
  std::snprintf(text, size, "Temperature %d %sC is at or above the warning level of %d %sC.",
                static_cast<int>(warning.reading), degreeSign, static_cast<int>(warning.level),
                degreeSign);
}

void FormatWarningLine(const TemperatureWarning& warning, const char* degreeSign, char* line,
                       size_t size) {
  std::snprintf(line, size, "Warning: Temperature %d %sC", static_cast<int>(warning.reading),
                degreeSign);
}
