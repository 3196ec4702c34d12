#pragma once
// Building blocks of the Krylov solvers: the D-ILU factorisation of the
// five-point matrix (no fill-in, only the diagonal modified,
// M = (D + L) D^-1 (D + U)), its solve, and the product with the matrix.
// All loops run over the flat index of the nx*ny nodes.
#include "solve/field_arrays.h"

namespace tambri {

// Pivots and scaled off-diagonals from the matrix. No pivot is tested for zero.
void factorise(int nx, int ny, const StencilMatrix& a, IluFactors& f);

// z = M^-1 r; z and r may be the same array.
void apply_preconditioner(int nx, int ny, const IluFactors& f, const NodeArray& r, NodeArray& z);

// y = A x, without the terms whose neighbour index lies outside 1..nx*ny.
void multiply(int nx, int ny, const StencilMatrix& a, const NodeArray& x, NodeArray& y);

}  // namespace tambri
