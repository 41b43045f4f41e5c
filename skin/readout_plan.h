#pragma once
// Which frame of which strip goes where for a readout state, and what a change of state repaints.
// Plain logic: the readout's drawing only carries out the copies.
#include <cstdint>

#include "skin/readout_layout.h"
#include "skin/readout_state.h"

// One copy from a part's strip, same size at both ends, from its top row.
struct ReadoutBlit {
  ReadoutPartId part = READOUT_FACE;
  int32_t sourceX = 0;
  SkinRect target;  // may be empty: nothing to copy
};

// The face, a copy per digit, the unit, the bar's lit and dark halves, the link, the fan mode,
// the backlight and the warning.
constexpr int32_t READOUT_MAX_BLITS = 1 + READOUT_MAX_DIGITS + 1 + 2 + 4;

// The copies in drawing order, the face first. A layout gives the same copies in the same slots
// for every state; only their frames and the bar's split move.
struct ReadoutPlan {
  ReadoutBlit blits[READOUT_MAX_BLITS];
  int32_t count = 0;
};

ReadoutPlan PlanReadout(const ReadoutLayout& layout, const ReadoutState& state);

// What to repaint when the readout goes from `before` (null: nothing drawn yet, so every part)
// to `after`: up to READOUT_MAX_BLITS * 2 rectangles, none empty. Returns how many.
constexpr int32_t READOUT_MAX_CHANGES = READOUT_MAX_BLITS * 2;
int32_t ChangedReadoutRects(const ReadoutLayout& layout, const ReadoutState* before,
                            const ReadoutState& after, SkinRect (&rects)[READOUT_MAX_CHANGES]);
