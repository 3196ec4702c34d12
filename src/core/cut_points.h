#pragma once
// The numbers behind a cut: the grid line a typed coordinate falls on, the
// points of a node quantity along that line, their ranges, and the curve
// clipped to the 16 cm band of the printed diagram as pen moves. Prints and
// draws nothing.
#include <array>
#include <optional>

#include "core/node_quantity.h"
#include "model/structure_model.h"

namespace tambri {

inline constexpr double kCutLogOffset = 1.0E-15;  // keeps log10 of a zero finite
inline constexpr double kCutMinimumSpan = 1.0E-15;
inline constexpr double kCutCrossingOffset = 1.0E-15;  // added to the value difference a crossing divides by
inline constexpr double kCutPageSize = 16.0;           // cm, both axes of the printed diagram

// The line a cut at `value` uses: the largest n in first..last with
// lines[n] <= value. nullopt when the value lies outside
// lines[first]..lines[last] (the bounds belong to the range), is not finite,
// or first..last is no range of lines.
std::optional<int> cut_line(const GridLines& lines, int first, int last, double value);

enum class CutAbscissa { X, Y };

struct CutPoints {
  int count = 0;
  std::array<double, kMaxLines + 1> a{}, v{};  // abscissa and value, [1..count]
};

// The points of `quantity` along the cut. Abscissa X: nodes (i, line) for
// i = first..last with a = X(i); abscissa Y: nodes (line, j) for
// j = first..last with a = Y(j). With `logarithmic` the value is
// log10(|v + 1.0E-15|) of a component, log10(|v| + 1.0E-15) of a magnitude.
// No points when the lines do not lie in the grid.
void collect_cut_points(const Grid& grid, const NodeQuantity& quantity, CutAbscissa abscissa, int first, int last,
                        int line, bool logarithmic, CutPoints& points);

struct CutRange {
  double amin = 0, amax = 0, vmin = 0, vmax = 0;
};

// `max` widened from `min` when the span is at most kCutMinimumSpan: to
// min + kCutMinimumSpan, or to the next double above min where that sum
// rounds back to min (100 + 1.0E-15 == 100), so the span is never zero.
double widened_max(double min, double max);

// amin, amax: the first and the last abscissa; vmin, vmax: the smallest and
// the largest finite value (0 when there is none); zero spans widened.
CutRange cut_range(const CutPoints& points);

// Centimetres per unit: 16 / span on each axis.
struct PageScales {
  double sa = 0, sv = 0;
};
PageScales page_scales(const CutRange& range);

// One pen move on the page: pen 3 moves, pen 2 draws.
inline constexpr int kPenUp = 3;
inline constexpr int kPenDown = 2;
struct PenMove {
  double x = 0, y = 0;
  int pen = kPenUp;
};

// At most two moves per point: a crossing of the band's edge and the point.
struct PenPath {
  int count = 0;
  std::array<PenMove, 2 * kMaxLines> moves{};
};

// The curve in page units x' = (a - amin) sa, y' = (v - vmin) sv, clipped to
// the band 0 <= y' <= 16. A point above (below) the band is held at the edge
// 16 (0); a segment leaving or entering the band draws to the crossing with
// the edge, found by linear interpolation in the values with 1.0E-15 added
// to the value difference (and kept on the segment); a segment from outside
// to outside draws nothing, so the pen runs along the edge from the leaving
// to the re-entering crossing. A point without a finite page position is
// skipped and the curve starts again (pen up) at the next one. No moves when
// the range has a zero or non-finite scale.
void clip_to_band(const CutPoints& points, const CutRange& range, PenPath& path);

}  // namespace tambri
