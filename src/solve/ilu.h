#pragma once
// Building blocks of the Krylov solvers: the D-ILU factorisation of the
// five-point matrix (no fill-in, only the diagonal modified,
// M = (D + L) D^-1 (D + U)), its solve, and the product with the matrix.
// All loops run over the flat index of the nx*ny nodes. However the loops are
// arranged, every node gets the value of the plain recurrence, bit for bit.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "solve/field_arrays.h"

namespace tambri {

// Pivots and scaled off-diagonals from the matrix. No pivot is tested for zero.
void factorise(int nx, int ny, const StencilMatrix& a, IluFactors& f);

// z = M^-1 r; z and r may be the same array.
void apply_preconditioner(int nx, int ny, const IluFactors& f, const NodeArray& r, NodeArray& z);

// y = A x, without the terms whose neighbour index lies outside 1..nx*ny.
void multiply(int nx, int ny, const StencilMatrix& a, const NodeArray& x, NodeArray& y);

// Element-wise loops handle two nodes per instruction. Each lane does exactly
// the arithmetic of its node, so the values are those of a plain loop.
using NodePair = double __attribute__((vector_size(2 * sizeof(double))));

// Node k, or nodes k and k + 1, of v: T is double or NodePair.
template <typename T>
T at(const NodeArray& v, int k) {
  T x;
  std::memcpy(&x, &v[k], sizeof x);
  return x;
}
template <typename T>
void put(NodeArray& v, int k, T x) {
  std::memcpy(&v[k], &x, sizeof x);
}

// The number of nodes in T, node i of x, and |x| node by node.
template <typename T>
constexpr int kLanes = sizeof(T) / sizeof(double);
inline double lane(double x, int) { return x; }
inline double lane(NodePair x, int i) { return x[i]; }
inline double magnitude(double x) { return std::fabs(x); }
inline NodePair magnitude(NodePair x) { return NodePair{std::fabs(x[0]), std::fabs(x[1])}; }

// body(k, T{}) for k = first..last, with T = NodePair for pairs (k, k + 1)
// and T = double for a node left over.
template <typename Body>
void for_nodes(int first, int last, Body body) {
  int k = first;
  for (; k < last; k += 2) body(k, NodePair{});
  if (k == last) body(k, 0.0);
}

// Grid rows worked on together: the triangular sweeps carry one recurrence per
// row at a time, and the fused passes below go a band of rows at a time.
inline constexpr int kBandRows = 4;

// Rows first..last of y = A x; x must be final on rows first - 1 .. last + 1.
void multiply_rows(int nx, int ny, const StencilMatrix& a, const NodeArray& x, NodeArray& y,
                   int first, int last);
// The same, adding y(k) x(k) to `sum` node by node in rising order; returns
// the sum.
double multiply_rows_and_dot(int nx, int ny, const StencilMatrix& a, const NodeArray& x,
                             NodeArray& y, int first, int last, double sum);
// The forward substitution of z = M^-1 r on rows first..last, the rows
// before them done; z may be r.
void forward_rows(int nx, const IluFactors& f, const NodeArray& r, NodeArray& z, int first,
                  int last);
// The backward substitution of z = M^-1 r, in place, over all rows.
void backward_sweep(int nx, int ny, const IluFactors& f, NodeArray& z);

// The passes below make their input on the way: prepare(first, last) must
// make nodes first..last of it final. It is called in rising order, a band of
// rows at a time, just before those nodes are needed, and may read the output
// on the nodes it is given (they are not yet overwritten). Making the input
// and using it thus share one pass over the arrays, each band being used
// while it is still in the cache.

// Calls prepare for the rows after the first `made` up to `row` (at most ny).
template <typename Prepare>
void prepare_rows(int nx, int ny, int row, int& made, Prepare& prepare) {
  row = std::min(row, ny);
  if (row <= made) return;
  prepare(made * nx + 1, row * nx);
  made = row;
}

// z = M^-1 r with r made on the way; z may be r.
template <typename Prepare>
void apply_preconditioner(int nx, int ny, const IluFactors& f, const NodeArray& r, NodeArray& z,
                          Prepare prepare) {
  int made = 0;
  for (int first = 1; first <= ny; first += kBandRows) {
    const int last = std::min(first + kBandRows - 1, ny);
    prepare_rows(nx, ny, last, made, prepare);
    forward_rows(nx, f, r, z, first, last);
  }
  backward_sweep(nx, ny, f, z);
}

// y = A x with x made on the way; returns (y, x), summed in rising order.
template <typename Prepare>
double multiply_and_dot(int nx, int ny, const StencilMatrix& a, const NodeArray& x, NodeArray& y,
                        Prepare prepare) {
  int made = 0;
  double sum = 0.0;
  for (int first = 1; first <= ny; first += kBandRows) {
    const int last = std::min(first + kBandRows - 1, ny);
    prepare_rows(nx, ny, last + 1, made, prepare);
    sum = multiply_rows_and_dot(nx, ny, a, x, y, first, last, sum);
  }
  return sum;
}

// y = M^-1 A x with x made on the way.
template <typename Prepare>
void preconditioned_product(int nx, int ny, const StencilMatrix& a, const IluFactors& f,
                            const NodeArray& x, NodeArray& y, Prepare prepare) {
  int made = 0;
  for (int first = 1; first <= ny; first += kBandRows) {
    const int last = std::min(first + kBandRows - 1, ny);
    prepare_rows(nx, ny, last + 1, made, prepare);
    multiply_rows(nx, ny, a, x, y, first, last);
    forward_rows(nx, f, y, y, first, last);
  }
  backward_sweep(nx, ny, f, y);
}

}  // namespace tambri
