#pragma once
// What GENERATE keeps between its visits besides the model.
#include "draw/display_window.h"

namespace tambri {

struct GenerateState {
  DisplayWindow window;  // of the structure display
  bool grid_under_structure = false;
};

}  // namespace tambri
