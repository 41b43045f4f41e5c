#include "support/control_record_builder.h"

ControlRecord SetUpControl(ControlKind kind, int32_t x, int32_t y, int32_t width, int32_t height) {
  ControlRecord control;
  control.kind = kind;
  control.x = x;
  control.y = y;
  control.width = width;
  control.charWidth = width;
  control.height = height;
  control.state = ControlState::NORMAL;
  control.previousState = ControlState::UNSET;
  return control;
}
