#pragma once
// The node arrays of the field calculation: material coefficients, the
// five-point matrix with its right-hand side, the potential and the solvers'
// work storage. Every array holds one double per node with the model's flat
// index k = (j - 1) * nx + i in [1..nx*ny]; slot 0 is unused. The whole set is
// allocated once for the run and never inside a solver.
#include <array>

#include "model/capacities.h"

namespace tambri {

using NodeArray = std::array<double, kMaxNodes + 1>;

// c(k), the coefficient of div(c grad u) at node k, in SI units.
struct MaterialCoefficients {
  NodeArray c;
};

// Row k: links*u(k-nx) + oben*u(k-1) + mitte*u(k) + unten*u(k+1) + rechts*u(k+nx) = rhs.
struct StencilMatrix {
  NodeArray links, oben, mitte, unten, rechts, rhs;
};

struct NodalSolution {
  NodeArray potential;
};

// D-ILU factors: the reciprocal pivots and the off-diagonals of each row
// divided by that row's pivot.
struct IluFactors {
  NodeArray dinv, oben, links, unten, rechts;
};

// Scratch storage of the solvers. The Krylov solvers name the vectors they
// need; SLOR uses the two line buffers, which hold the longest grid row.
struct SolverWork {
  static constexpr int kVectors = 6;
  IluFactors factors;
  std::array<NodeArray, kVectors> vectors;
  std::array<double, kMaxLines + 1> line_pivot;  // [1..nx]
  std::array<double, kMaxLines + 1> line_rhs;    // [1..nx]
};

// The field quantities derived from the potential at every node. Arrays of
// their own rather than the matrix's, so that a field value can never be read
// as a coefficient or the other way round. Valid from their computation on
// entry into the evaluation until the next assembly.
struct DerivedFields {
  NodeArray strength_x, strength_y;  // field strength: Ex, Ey (E, S) or Hx, Hy (M)
  NodeArray flux_x, flux_y;          // flux or current density: Dx, Dy (E), Sx, Sy (S), Bx, By (M)
  NodeArray density;                 // energy density (E, M) or loss-power density (S)
  bool valid = false;
};

struct FieldArrays {
  MaterialCoefficients material;
  StencilMatrix matrix;
  NodalSolution solution;
  DerivedFields derived;
  SolverWork work;
};

}  // namespace tambri
