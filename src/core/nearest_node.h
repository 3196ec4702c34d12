#pragma once
// The grid node nearest to a point of the model, for reading a picture back
// at the pointer. Prints and draws nothing.
#include <optional>

#include "model/structure_model.h"

namespace tambri {

// The line of first..last nearest to `value`, the lower one of two equally
// near; beyond the range, its end line. None when `value` is not finite or
// first..last is empty or leaves 1..kMaxLines.
std::optional<int> nearest_line(const GridLines& lines, int first, int last, double value);

struct GridNode {
  int i = 0, j = 0;
};

// The node of x lines i1..i2 and y lines j1..j2 nearest to the model point
// (x, y); none when the point lies outside the rectangle those lines span
// (its edges belong to it) or either range is empty or leaves the grid.
std::optional<GridNode> nearest_node(const Grid& grid, int i1, int i2, int j1, int j2, double x, double y);

}  // namespace tambri
