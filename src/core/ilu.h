#pragma once
// Building blocks of the Krylov solvers: the D-ILU factorisation of the
// five-point matrix (no fill-in, only the diagonal modified,
// M = (D + L) D^-1 (D + U)), its solve, and the product with the matrix.
// All loops run over the flat index of the nx*ny nodes. However the loops are
// arranged, every node gets the value of the plain recurrence, bit for bit.
#include <cmath>
#include <cstring>

#include "core/field_arrays.h"

namespace tambri {

// Pivots and scaled off-diagonals from the matrix. No pivot is tested for zero.
void factorise(int nx, int ny, const StencilMatrix& a, IluFactors& f);

// z = M^-1 r; z and r may be the same array.
void apply_preconditioner(int nx, int ny, const IluFactors& f, const NodeArray& r, NodeArray& z);

// y = A x, without the terms whose neighbour index lies outside 1..nx*ny.
void multiply(int nx, int ny, const StencilMatrix& a, const NodeArray& x, NodeArray& y);

// y = A x as above, returning the inner product (y, x) summed on the way, in
// rising order: the sum waits on its additions, the product on its loads, so
// one pass does both in about the time of one.
double multiply_and_dot(int nx, int ny, const StencilMatrix& a, const NodeArray& x, NodeArray& y);

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

}  // namespace tambri
