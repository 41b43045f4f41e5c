#pragma once
// Skin controls for the plain-logic tests, built without a window or a bitmap.
#include <cstdint>

#include "skin/control_record.h"

// A control as SkinControl::Setup leaves it: placed and sized, its character width the given
// width, NORMAL with no state before.
ControlRecord SetUpControl(ControlKind kind, int32_t x, int32_t y, int32_t width, int32_t height);
