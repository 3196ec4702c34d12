#include "core/nearest_node.h"

#include <cmath>

namespace tambri {
namespace {

bool valid_range(int first, int last) { return first >= 1 && first <= last && last <= kMaxLines; }

}  // namespace

std::optional<int> nearest_line(const GridLines& lines, int first, int last, double value) {
  if (!valid_range(first, last) || !std::isfinite(value)) return std::nullopt;
  int best = first;
  double best_distance = std::fabs(lines[first] - value);
  for (int k = first + 1; k <= last; ++k) {
    const double distance = std::fabs(lines[k] - value);
    if (distance < best_distance) {
      best = k;
      best_distance = distance;
    }
  }
  return best;
}

std::optional<GridNode> nearest_node(const Grid& grid, int i1, int i2, int j1, int j2, double x, double y) {
  if (!valid_range(i1, i2) || !valid_range(j1, j2) || i2 > grid.nx || j2 > grid.ny) return std::nullopt;
  // Written so that a NaN coordinate fails as well.
  if (!(x >= grid.x[i1] && x <= grid.x[i2] && y >= grid.y[j1] && y <= grid.y[j2])) return std::nullopt;
  const std::optional<int> i = nearest_line(grid.x, i1, i2, x), j = nearest_line(grid.y, j1, j2, y);
  if (!i || !j) return std::nullopt;
  return GridNode{*i, *j};
}

}  // namespace tambri
