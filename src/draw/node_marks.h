#pragma once
// The marks pictures put on grid nodes (filled cells, small rectangles,
// diamonds) and the grid lines between them. Marks of a node on the first or
// last line of the shown part are cut at that line, so the picture's border
// is the border of its marks.
#include <array>

#include "draw/display_window.h"
#include "draw/plotter.h"
#include "model/structure_model.h"

namespace tambri {

// Where a node's mark lies along one axis: from `lo` over the node's own
// line `at` to `hi`.
struct NodeSpan {
  double lo, at, hi;
};

// The node's cell: between the midpoints to the neighbouring lines; at the
// first line of first..last it starts there, at the last it ends there.
NodeSpan cell_span(const GridLines& lines, int k, int first, int last);

// A mark reaching `fraction` of the way to each neighbouring line, cut alike.
NodeSpan mark_span(const GridLines& lines, int k, int first, int last, double fraction);

// The closed outline (five points, the first repeated) of the diamond whose
// corners are the midpoints of the sides of the rectangle x by y, as world
// points (y, x). Where a side is cut onto the node's own line the diamond
// leaves the half (a corner node: the quarter) inside the shown part.
std::array<WorldPoint, 5> diamond(const NodeSpan& x, const NodeSpan& y);

// Every inner grid line of the window, from edge to edge: x lines across, then
// y lines down, in the current colours.
void draw_grid_lines(Plotter& plot, const Grid& grid, const DisplayWindow& w);

}  // namespace tambri
