#include "solve/ilu.h"

#include <algorithm>

namespace tambri {
namespace {

// Grid rows of a triangular sweep that are worked on together (see below).
constexpr int kRowsInFlight = 4;

// Row k of y = A x, leaving out the neighbours outside 1..n.
double edge_product_row(const StencilMatrix& a, const NodeArray& x, int nx, int n, int k) {
  double sum = 0.0;
  if (k - nx >= 1) sum += a.links[k] * x[k - nx];
  if (k - 1 >= 1) sum += a.oben[k] * x[k - 1];
  sum += a.mitte[k] * x[k];
  if (k + 1 <= n) sum += a.unten[k] * x[k + 1];
  if (k + nx <= n) sum += a.rechts[k] * x[k + nx];
  return sum;
}

// The triangular sweeps are recurrences along a grid row, each node waiting
// for the one before it. Several rows are therefore swept at once, each one
// node behind the row it depends on, so that the processor overlaps their
// chains; the arithmetic of every node is unchanged. The coupling between the
// last node of a row and the first node of the next (Oben at i = 1, Unten at
// i = nx) is zero by assembly and is left out.

// z(k) = r(k) dinv(k) - (Links/d)(k) z(k-nx) - (Oben/d)(k) z(k-1), k rising.
void forward_sweep(int nx, int ny, const IluFactors& f, const NodeArray& r, NodeArray& z) {
  z[1] = r[1] * f.dinv[1];
  for (int k = 2; k <= nx; ++k) z[k] = r[k] * f.dinv[k] - f.oben[k] * z[k - 1];
  for (int first = 2; first <= ny; first += kRowsInFlight) {
    const int rows = std::min(kRowsInFlight, ny - first + 1);
    for (int step = 1; step <= nx + rows - 1; ++step) {
      for (int row = 0; row < rows; ++row) {
        const int i = step - row;
        if (i < 1 || i > nx) continue;
        const int k = (first + row - 1) * nx + i;
        double zk = r[k] * f.dinv[k] - f.links[k] * z[k - nx];
        if (i > 1) zk -= f.oben[k] * z[k - 1];
        z[k] = zk;
      }
    }
  }
}

// z(k) = z(k) - (Rechts/d)(k) z(k+nx) - (Unten/d)(k) z(k+1), k falling.
void backward_sweep(int nx, int ny, const IluFactors& f, NodeArray& z) {
  const int n = nx * ny;
  for (int k = n - 1; k >= n - nx + 1; --k) z[k] = z[k] - f.unten[k] * z[k + 1];
  for (int last = ny - 1; last >= 1; last -= kRowsInFlight) {
    const int rows = std::min(kRowsInFlight, last);
    for (int step = 1; step <= nx + rows - 1; ++step) {
      for (int row = 0; row < rows; ++row) {
        const int i = nx + 1 - (step - row);
        if (i < 1 || i > nx) continue;
        const int k = (last - row - 1) * nx + i;
        double zk = z[k] - f.rechts[k] * z[k + nx];
        if (i < nx) zk -= f.unten[k] * z[k + 1];
        z[k] = zk;
      }
    }
  }
}

}  // namespace

void factorise(int nx, int ny, const StencilMatrix& a, IluFactors& f) {
  const int n = nx * ny;
  double* d = f.dinv.data();  // holds the pivots until they are inverted below
  d[1] = a.mitte[1];
  for (int k = 2; k <= nx; ++k) d[k] = a.mitte[k] - a.unten[k - 1] * a.oben[k] / d[k - 1];
  for (int k = nx + 1; k <= n; ++k) {
    d[k] = a.mitte[k] - a.unten[k - 1] * a.oben[k] / d[k - 1] -
           a.rechts[k - nx] * a.links[k] / d[k - nx];
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
  forward_sweep(nx, ny, f, r, z);
  backward_sweep(nx, ny, f, z);
}

void multiply(int nx, int ny, const StencilMatrix& a, const NodeArray& x, NodeArray& y) {
  const int n = nx * ny;
  // The first and the last grid row lack neighbours; the rows between have
  // all five.
  for (int k = 1; k <= nx; ++k) y[k] = edge_product_row(a, x, nx, n, k);
  for (int k = nx + 1; k <= n - nx; ++k) {
    y[k] = a.links[k] * x[k - nx] + a.oben[k] * x[k - 1] + a.mitte[k] * x[k] +
           a.unten[k] * x[k + 1] + a.rechts[k] * x[k + nx];
  }
  for (int k = std::max(n - nx + 1, nx + 1); k <= n; ++k) y[k] = edge_product_row(a, x, nx, n, k);
}

}  // namespace tambri
