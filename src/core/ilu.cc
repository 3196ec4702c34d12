#include "core/ilu.h"

#include <algorithm>

namespace tambri {
namespace {

// Grid rows swept together (see forward_band).
constexpr int kBandRows = 4;

// Row k of y = A x on the first or last grid row: the terms whose neighbour
// lies outside 1..n are left out, and the sum starts with the first term left.
double edge_product_row(const StencilMatrix& a, const NodeArray& x, int nx, int n, int k) {
  double sum = 0.0;
  bool started = false;
  const auto add = [&](double term) {
    sum = started ? sum + term : term;
    started = true;
  };
  if (k - nx >= 1) add(a.links[k] * x[k - nx]);
  if (k - 1 >= 1) add(a.oben[k] * x[k - 1]);
  add(a.mitte[k] * x[k]);
  if (k + 1 <= n) add(a.unten[k] * x[k + 1]);
  if (k + nx <= n) add(a.rechts[k] * x[k + nx]);
  return sum;
}

// y = A x in rising order; with kDot, returns the sum of y(k) x(k), added on
// the way.
template <bool kDot>
double product(int nx, int ny, const StencilMatrix& a, const NodeArray& x, NodeArray& y) {
  const int n = nx * ny;
  double sum = 0.0;
  const auto edge = [&](int k) {
    y[k] = edge_product_row(a, x, nx, n, k);
    if constexpr (kDot) sum += y[k] * x[k];
  };
  // The first and the last grid row lack neighbours; the rows between have
  // all five.
  for (int k = 1; k <= nx; ++k) edge(k);
  for_nodes(nx + 1, n - nx, [&](int k, auto lanes) {
    using T = decltype(lanes);
    const T yk = at<T>(a.links, k) * at<T>(x, k - nx) + at<T>(a.oben, k) * at<T>(x, k - 1) +
                 at<T>(a.mitte, k) * at<T>(x, k) + at<T>(a.unten, k) * at<T>(x, k + 1) +
                 at<T>(a.rechts, k) * at<T>(x, k + nx);
    put(y, k, yk);
    if constexpr (kDot) {
      const T terms = yk * at<T>(x, k);
      for (int i = 0; i < kLanes<T>; ++i) sum += lane(terms, i);
    }
  });
  for (int k = std::max(n - nx + 1, nx + 1); k <= n; ++k) edge(k);
  return sum;
}

// The triangular sweeps are recurrences along a grid row, each node waiting
// for the one before it. A band of rows is therefore swept at once, each row
// one node behind the row it depends on, so that the processor overlaps their
// chains; the arithmetic of every node is unchanged. The coupling between the
// last node of a row and the first node of the next (Oben at i = 1, Unten at
// i = nx) is zero by assembly and is left out: it would tie each row to the
// end of the one before, and subtracting a zero product changes no value
// (at most the sign of a zero).
//
// Step s of a band works on node i = s - row of each row (forward; mirrored
// backward). In the steps where every row of a full band is past its first
// node, each row's latest value is kept in a register: it is both the row's
// own next neighbour and, one step later, the neighbour of the row after it,
// so neither recurrence waits for a store and a reload.

// z(k) = r(k) dinv(k) - (Links/d)(k) z(k-nx) - (Oben/d)(k) z(k-1) on grid
// rows start..start+rows-1, all below the first row.
void forward_band(int nx, const IluFactors& f, const NodeArray& r, NodeArray& z, int start, int rows) {
  const int base = (start - 1) * nx;  // node (i, start + row) is base + row * nx + i
  const auto step_checked = [&](int step) {
    for (int row = std::max(0, step - nx); row < std::min(rows, step); ++row) {
      const int i = step - row;
      const int k = base + row * nx + i;
      double zk = r[k] * f.dinv[k] - f.links[k] * z[k - nx];
      if (i > 1) zk -= f.oben[k] * z[k - 1];
      z[k] = zk;
    }
  };
  int step = 1;
  for (; step <= rows; ++step) step_checked(step);
  if (rows == kBandRows && step <= nx) {
    double latest[kBandRows];
    for (int row = 0; row < kBandRows; ++row) latest[row] = z[base + row * nx + step - 1 - row];
    for (; step <= nx; ++step) {
      // Last row first: each row takes the value of the row it depends on
      // before that one moves on.
#pragma GCC unroll 4
      for (int row = kBandRows - 1; row >= 0; --row) {
        const int k = base + row * nx + step - row;
        const double above = row > 0 ? latest[row - 1] : z[k - nx];
        latest[row] = r[k] * f.dinv[k] - f.links[k] * above - f.oben[k] * latest[row];
        z[k] = latest[row];
      }
    }
  }
  for (; step <= nx + rows - 1; ++step) step_checked(step);
}

// z(k) = z(k) - (Rechts/d)(k) z(k+nx) - (Unten/d)(k) z(k+1) on grid rows
// start..start-rows+1, all before the last row, k falling.
void backward_band(int nx, const IluFactors& f, NodeArray& z, int start, int rows) {
  // node (nx + 1 - from_end, start - row) is base - row * nx - from_end
  const int base = start * nx + 1;
  const auto step_checked = [&](int step) {
    for (int row = std::max(0, step - nx); row < std::min(rows, step); ++row) {
      const int from_end = step - row;  // 1 at i = nx
      const int k = base - row * nx - from_end;
      double zk = z[k] - f.rechts[k] * z[k + nx];
      if (from_end > 1) zk -= f.unten[k] * z[k + 1];
      z[k] = zk;
    }
  };
  int step = 1;
  for (; step <= rows; ++step) step_checked(step);
  if (rows == kBandRows && step <= nx) {
    double latest[kBandRows];
    for (int row = 0; row < kBandRows; ++row) latest[row] = z[base - row * nx - (step - 1 - row)];
    for (; step <= nx; ++step) {
      // Last row first: each row takes the value of the row it depends on
      // before that one moves on.
#pragma GCC unroll 4
      for (int row = kBandRows - 1; row >= 0; --row) {
        const int k = base - row * nx - (step - row);
        const double below = row > 0 ? latest[row - 1] : z[k + nx];
        latest[row] = z[k] - f.rechts[k] * below - f.unten[k] * latest[row];
        z[k] = latest[row];
      }
    }
  }
  for (; step <= nx + rows - 1; ++step) step_checked(step);
}

}  // namespace

void factorise(int nx, int ny, const StencilMatrix& a, IluFactors& f) {
  const int n = nx * ny;
  double* d = f.dinv.data();  // holds the pivots until they are inverted below
  d[1] = a.mitte[1];
  for (int k = 2; k <= nx; ++k) d[k] = a.mitte[k] - a.unten[k - 1] * a.oben[k] / d[k - 1];
  for (int k = nx + 1; k <= n; ++k) {
    d[k] = a.mitte[k] - a.unten[k - 1] * a.oben[k] / d[k - 1] - a.rechts[k - nx] * a.links[k] / d[k - nx];
  }
  for (int k = 1; k <= n; ++k) {
    const double dinv = 1.0 / d[k];
    f.dinv[k] = dinv;
    f.oben[k] = a.oben[k] * dinv;
    f.links[k] = a.links[k] * dinv;
    f.unten[k] = a.unten[k] * dinv;
    f.rechts[k] = a.rechts[k] * dinv;
  }
}

void apply_preconditioner(int nx, int ny, const IluFactors& f, const NodeArray& r, NodeArray& z) {
  z[1] = r[1] * f.dinv[1];
  for (int k = 2; k <= nx; ++k) z[k] = r[k] * f.dinv[k] - f.oben[k] * z[k - 1];
  for (int start = 2; start <= ny; start += kBandRows) {
    forward_band(nx, f, r, z, start, std::min(kBandRows, ny - start + 1));
  }
  const int n = nx * ny;
  for (int k = n - 1; k >= n - nx + 1; --k) z[k] = z[k] - f.unten[k] * z[k + 1];
  for (int start = ny - 1; start >= 1; start -= kBandRows) {
    backward_band(nx, f, z, start, std::min(kBandRows, start));
  }
}

void multiply(int nx, int ny, const StencilMatrix& a, const NodeArray& x, NodeArray& y) {
  product<false>(nx, ny, a, x, y);
}

double multiply_and_dot(int nx, int ny, const StencilMatrix& a, const NodeArray& x, NodeArray& y) {
  return product<true>(nx, ny, a, x, y);
}

}  // namespace tambri
