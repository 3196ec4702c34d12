#pragma once
// What GENERATE keeps between its visits besides the model.

namespace tambri {

// The window of the structure display: first and last x line, first and last
// y line.
struct DisplayWindow {
  int i1 = 1, j1 = 1, i2 = 0, j2 = 0;
};

struct GenerateState {
  DisplayWindow window;
  bool grid_under_structure = false;
};

}  // namespace tambri
