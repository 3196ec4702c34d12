#include "draw/node_marks.h"

namespace tambri {

NodeSpan cell_span(const GridLines& lines, int k, int first, int last) {
  const double at = lines[k];
  return {k > first ? (lines[k - 1] + at) / 2 : at, at, k < last ? (at + lines[k + 1]) / 2 : at};
}

NodeSpan mark_span(const GridLines& lines, int k, int first, int last, double fraction) {
  const double at = lines[k];
  return {k > first ? at - fraction * (at - lines[k - 1]) : at, at,
          k < last ? at + fraction * (lines[k + 1] - at) : at};
}

std::array<WorldPoint, 5> diamond(const NodeSpan& x, const NodeSpan& y) {
  return {{{y.at, x.lo}, {y.hi, x.at}, {y.at, x.hi}, {y.lo, x.at}, {y.at, x.lo}}};
}

void draw_grid_lines(Plotter& plot, const Grid& grid, const DisplayWindow& w) {
  for (int i = w.i1 + 1; i < w.i2; ++i) plot.line(grid.y[w.j1], grid.x[i], grid.y[w.j2], grid.x[i]);
  for (int j = w.j1 + 1; j < w.j2; ++j) plot.line(grid.y[j], grid.x[w.i1], grid.y[j], grid.x[w.i2]);
}

}  // namespace tambri
