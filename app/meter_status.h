#pragma once
// What the window's readout and the notification icon's tip say about a refresh pass: the item,
// the figure the meter was sent, whether a meter took it, and the temperature warning. Plain
// logic.
#include <cstddef>

#include "app/temperature_warning.h"
#include "monitor/pass_outcome.h"
#include "skin/readout_state.h"

// Whether the figure comes from a temperature reading that is stale while a meter is linked: the
// "Temperature" figure, and the "Fan Speed" that "Auto" works out from it. It is then unknown.
bool IsFigureWithoutReading(const PassOutcome& outcome);

// The figure as the meter shows it, "---" without a meter, without a fresh reading behind it or
// for a disk that cannot be read; the unit light of the item (none for "None"); the bar at the
// figure; the link, the fan mode and the backlight as the pass sent them; and whether the warning
// is raised.
ReadoutState ReadoutStateOf(const PassOutcome& outcome, bool warning);

// The tip's second line: "CPU Usage 23 %", "Temperature 41 <degreeSign>C", "None",
// "Temperature: no reading", "HDD Space: drive unavailable", or "No meter linked". `degreeSign` is
// the sign in the ANSI code page ("" where it has none).
void FormatMeterStatus(const PassOutcome& outcome, const char* degreeSign, char* line, size_t size);

// The tip's second line with the warning in it: the warning's line while it is raised, else the
// meter's status.
void FormatTrayStatus(const PassOutcome& outcome, const TemperatureWarning& warning,
                      const char* degreeSign, char* line, size_t size);
