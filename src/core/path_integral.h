#pragma once
// The flux of D (E), S (S) or B (M) through an axis-parallel rectangle or a
// line, per metre of depth: charge Q', current I' or flux PHI'. The corners
// are checked and normalised as they are entered, moved onto the grid lines at
// or below them, and the normal component is summed over the sides with the
// box widths of the assembly. Prints nothing.
#include <optional>

#include "core/field_arrays.h"
#include "model/structure_model.h"

namespace tambri {

// Corner coordinates closer than this are equal.
inline constexpr double kPathTolerance = 1.0E-10;

// True when the first corner lies beyond the last grid line in x or in y, or
// is not a finite number. Coordinates below the first lines are accepted.
bool first_corner_outside(const Grid& grid, double xlo, double ylo);

struct PathCorners {
  double xlo = 0, ylo = 0, xru = 0, yru = 0;
  bool line_of_constant_x() const { return xru == xlo; }
  bool line_of_constant_y() const { return yru == ylo; }
};

// The second corner checked against the first. Refused (nullopt) when it lies
// left of or above the first (xru < xlo or yru < ylo), when the two are one
// point (closer than kPathTolerance in both directions), or when a coordinate
// is not finite. Otherwise the corners, with xru set to xlo (yru to ylo) when
// they are closer than kPathTolerance: a line of constant x (y).
std::optional<PathCorners> accept_second_corner(double xlo, double ylo, double xru, double yru);

struct PathIntegral {
  // The sides used: x = xa, xb and y = ya, yb, on the lines ia, ib, ja, jb.
  // Index 0 means the side lies before the first line (the coordinate is the
  // entered one), nx + 1 (ny + 1) beyond the last.
  double xa = 0, ya = 0, xb = 0, yb = 0;
  int ia = 0, ja = 0, ib = 0, jb = 0;
  // The last line at or below each corner coordinate (1 when there is none):
  // the sides run over the nodes il..ir and jl..jr.
  int il = 1, ir = 1, jl = 1, jr = 1;
  double flux = 0.0;  // outward flux (rectangle) or flux in +x (+y) direction (line)
};

// Sums the outward normal component over the sides that lie inside the grid,
// every node of a side with its whole box width: Qx = d.flux_x, Qy = d.flux_y.
// A line of constant x has no side at xa; it gives the flux in +x direction
// plus the y components of its two end boxes (likewise for constant y).
// A rectangle entirely before the first line of a direction is moved up to
// that line, since there is no line below it. Nothing is summed when the grid
// has no nodes; a direction with one line has box width 0.
PathIntegral integrate_path(const Grid& grid, const DerivedFields& d, double xlo, double ylo, double xru, double yru);

}  // namespace tambri
