#include "solve/ilu.h"

namespace tambri {

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
  const int n = nx * ny;
  for (int k = 1; k <= n; ++k) z[k] = r[k] * f.dinv[k];
  for (int k = 2; k <= nx; ++k) z[k] = z[k] - f.oben[k] * z[k - 1];
  for (int k = nx + 1; k <= n; ++k) z[k] = z[k] - f.links[k] * z[k - nx] - f.oben[k] * z[k - 1];
  for (int k = n - 1; k >= n - nx + 1; --k) z[k] = z[k] - f.unten[k] * z[k + 1];
  for (int k = n - nx; k >= 1; --k) z[k] = z[k] - f.rechts[k] * z[k + nx] - f.unten[k] * z[k + 1];
}

void multiply(int nx, int ny, const StencilMatrix& a, const NodeArray& x, NodeArray& y) {
  const int n = nx * ny;
  // Rows near the two ends lack some neighbours; the rows between have all
  // five and take the fast loop.
  auto edge_row = [&](int k) {
    double sum = 0.0;
    if (k - nx >= 1) sum += a.links[k] * x[k - nx];
    if (k - 1 >= 1) sum += a.oben[k] * x[k - 1];
    sum += a.mitte[k] * x[k];
    if (k + 1 <= n) sum += a.unten[k] * x[k + 1];
    if (k + nx <= n) sum += a.rechts[k] * x[k + nx];
    y[k] = sum;
  };
  const int first_inner = nx + 1;
  const int last_inner = n - nx;
  for (int k = 1; k < first_inner && k <= n; ++k) edge_row(k);
  for (int k = first_inner; k <= last_inner; ++k) {
    y[k] = a.links[k] * x[k - nx] + a.oben[k] * x[k - 1] + a.mitte[k] * x[k] +
           a.unten[k] * x[k + 1] + a.rechts[k] * x[k + nx];
  }
  for (int k = last_inner + 1; k <= n; ++k) {
    if (k >= first_inner) edge_row(k);
  }
}

}  // namespace tambri
