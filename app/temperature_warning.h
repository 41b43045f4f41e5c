#pragma once
// The temperature warning: raised when the meter's reading has stood at or above the warning
// level (the fan settings' highThreshold, whatever the fan mode) for a few passes in a row, and
// cleared when it has stood well below it as long. Plain logic, fed on the UI thread with the
// outcome of every refresh pass.
#include <cstddef>
#include <cstdint>

#include "monitor/pass_outcome.h"

// Passes in a row that raise or clear the warning: a single reading is not enough either way.
constexpr int32_t WARNING_PASSES = 3;
// How far below the level a reading must be to count towards clearing, so a temperature that
// hovers at the level does not raise the warning again and again.
constexpr int32_t WARNING_CLEARANCE = 3;

enum class WarningChange { NONE, RAISED, CLEARED };

struct TemperatureWarning {
  bool raised = false;
  uint32_t raisings = 0;   // counts every raising, so a notice can tell one from the next
  int32_t reading = 0;     // the last fresh reading, in degrees Celsius
  int32_t level = 0;       // the level it was held against
  int32_t hotPasses = 0;   // in a row at or above the level (counted up to WARNING_PASSES)
  int32_t coolPasses = 0;  // in a row at least WARNING_CLEARANCE below it
};

// Takes one pass with the level in effect. A pass without a fresh reading (no meter linked, or a
// meter gone silent) tells nothing of the temperature: it ends a raised warning, and both counts
// start over.
WarningChange TrackTemperatureWarning(TemperatureWarning& warning, const PassOutcome& outcome,
                                      int32_t level);

// Tells the event log of a change the pass `outcome` made: the reading and the level when the
// warning is raised; when it clears, the reading, or that none was left to judge by.
void LogWarningChange(WarningChange change, const TemperatureWarning& warning,
                      const PassOutcome& outcome);

// Whether the warning is raised and the raising has not been told yet; `lastTold` is the
// `raisings` count of the last one told.
bool IsWarningUntold(const TemperatureWarning& warning, uint32_t lastTold);

// The notification's text, "Temperature 83 <degreeSign>C is at or above the warning level of
// 80 <degreeSign>C.", and the tip's line, "Warning: Temperature 83 <degreeSign>C". `degreeSign`
// is the sign in the ANSI code page ("" where it has none).
void FormatWarningNotice(const TemperatureWarning& warning, const char* degreeSign, char* text,
                         size_t size);
void FormatWarningLine(const TemperatureWarning& warning, const char* degreeSign, char* line,
                       size_t size);
