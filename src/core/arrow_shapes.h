#pragma once
// The numbers behind an arrow picture of a vector quantity: which lines carry
// arrows, the range of the magnitude, the scale that gives the strongest
// arrow 0.95 of a cell, and each arrow's shaft and head. Prints and draws
// nothing.
//
// Points are world points of the pictures: `y` across (to the right), `x`
// down, so a vector (a, b) at a node points a downward and b to the right.
#include <optional>

#include "core/field_arrays.h"
#include "model/structure_model.h"

namespace tambri {

// A region of 40 or more intervals in a direction may show only every
// (intervals div 20)-th line's arrows.
struct ArrowThinning {
  int nsx = 0, nsy = 0;  // (i2 - i1) div 20, (j2 - j1) div 20
  // Whether " Alle Pfeile zeichnen [Y/N]:" is asked.
  bool offered() const { return nsx > 1 || nsy > 1; }
  // The steps through the x and y lines: 1 with `all`, otherwise nsx and nsy,
  // at least 1.
  int step_x(bool all) const { return all || nsx < 1 ? 1 : nsx; }
  int step_y(bool all) const { return all || nsy < 1 ? 1 : nsy; }
};
ArrowThinning arrow_thinning(int i1, int i2, int j1, int j2);

// The smallest magnitude starts at 1e35 in single precision.
inline constexpr double kMagnitudeStart = static_cast<double>(1e35f);

struct MagnitudeRange {
  double min = kMagnitudeStart;
  double max = 0;
};

// Of sqrt(a^2 + b^2) over the nodes 1..count (the whole grid, not only the
// shown part); a magnitude that is not finite takes no part.
MagnitudeRange magnitude_range(const NodeArray& a, const NodeArray& b, int count);

// Filter margin on either side of the range (absolute, in the quantity's unit).
inline constexpr double kArrowFilterMargin = 1e-10;
// The strongest arrow fills this part of a cell (single precision, as always).
inline constexpr double kArrowCellFill = static_cast<double>(0.95f);

struct ArrowScale {
  double s = 0;           // world length per unit of magnitude
  double cx = 0, cy = 0;  // the cell an arrow may fill along x and along y
  double max = 0;         // the magnitude drawn at full length
  double lo = 0, hi = 0;  // magnitudes lo..hi are drawn
  bool logarithmic = false;
};

// For the lines i1..i2, j1..j2 shown with steps sx, sy: cx = sx Lx / (i2 - i1
// - 1), the extent itself for a region of two x lines, and cy alike; the
// cell c is the smaller (a direction of a single line has no cell and leaves
// the other's); s = 0.95 c / max. The limits are min - 1e-10 and max + 1e-10.
// `max` must be positive.
ArrowScale arrow_scale(const Grid& grid, int i1, int i2, int j1, int j2, int sx, int sy, double min, double max,
                       bool logarithmic);

// The factor a logarithmic arrow's length is multiplied by, for a magnitude r
// relative to max: 0.1 log10(1e10 r + 1e-30) / (r + 1e-30). r = 1 keeps the
// length, each decade below it takes a tenth off, r = 1e-10 gives 0.
double logarithmic_length_factor(double r);

// The head reaches back 0.3 of the arrow's length and spreads 0.36 of that to
// either side; an arrow whose across part is below 0.001 of the cell counts as
// running along the axis (all single precision).
inline constexpr double kHeadLength = static_cast<double>(0.3f);
inline constexpr double kHeadHalfWidth = static_cast<double>(0.36f);
inline constexpr double kAxisTolerance = static_cast<double>(0.001f);

struct ArrowPoint {
  double y, x;
};

// The shaft runs from the node to the tip; the head is drawn from head1 to
// the tip and on to head2.
struct Arrow {
  ArrowPoint node, tip, head1, head2;
  double length;
};

// The arrow of the vector (a, b) at the node (x, y): none when its magnitude
// lies outside lo..hi, or when a value on the way is not finite.
std::optional<Arrow> arrow_at(const ArrowScale& scale, double x, double y, double a, double b);

}  // namespace tambri
