#pragma once
// What the window's readout and the notification icon's tip say about a refresh pass: the item,
// the figure the meter was sent, and whether a meter took it. Plain logic.
#include <cstddef>

#include "monitor/pass_outcome.h"
#include "skin/readout_state.h"

// The figure as the meter shows it, "---" without a meter or for a disk that cannot be read; the
// unit light of the item (none for "None"); the bar at the figure; the link, the fan mode and the
// backlight as the pass sent them.
ReadoutState ReadoutStateOf(const PassOutcome& outcome);

// The tip's second line: "CPU Usage 23 %", "Temperature 41 <degreeSign>C", "None",
// "HDD Space: drive unavailable", or "No meter linked". `degreeSign` is the sign in the ANSI code
// page ("" where it has none).
void FormatMeterStatus(const PassOutcome& outcome, const char* degreeSign, char* line, size_t size);
