// ILU-BICG (BiCGSTAB on the left-preconditioned system) and ILU-CG, both with
// the D-ILU preconditioner.
#include <algorithm>
#include <cmath>

#include "core/flux_balance.h"
#include "core/ilu.h"
#include "core/solvers.h"

namespace tambri {
namespace {

// Smallest magnitude of a step-length denominator: a breakdown (zero inner
// product) is absorbed instead of dividing by zero.
constexpr double kDivisionGuard = 1.0E-20;
// Offset of the relative correction, 0.1 in single precision: a node near 0 V
// is measured against 0.1 rather than against its own tiny value.
constexpr double kCorrectionOffset = static_cast<double>(0.1f);

double guarded(double delta) {
  const double magnitude = std::max(std::fabs(delta), kDivisionGuard);
  return delta < 0 ? -magnitude : magnitude;
}

double dot(int n, const NodeArray& x, const NodeArray& y) {
  double sum = 0.0;
  for (int k = 1; k <= n; ++k) sum += x[k] * y[k];
  return sum;
}

// Largest relative correction over k = 1..N: the first node is the start
// value and only a strictly larger value replaces it.
struct CorrectionTracker {
  double e_max = 0.0;
  int k_max = 0;
  // Node k (and k + 1) changed by `correction` to `new_value`.
  template <typename T>
  void note(int k, T correction, T new_value) {
    const T e = magnitude(correction) / (magnitude(new_value) + kCorrectionOffset);
    for (int i = 0; i < kLanes<T>; ++i) {
      if (k + i == 1 || lane(e, i) > e_max) {
        e_max = lane(e, i);
        k_max = k + i;
      }
    }
  }
};

// Records the iteration and tells the monitor; true when the run may stop.
// Convergence is never declared in the first iteration. A small correction
// alone does not end the run: measured against |u| + 0.1 it says little when
// the potential is far below 0.1 (a vector potential of some 1E-6 Vs/m), and
// a single short step of ILU-BICG can fall under the bound long before the
// field is there. So the potential must also balance the fluxes.
bool finish_iteration(int n, const CorrectionTracker& tracker, const StructureModel& model, const FieldArrays& arrays,
                      const SolverSettings& settings, const IterationMonitor& monitor, SolveResult& result) {
  record_iteration(n, tracker.e_max, tracker.k_max, model.grid.nx, monitor, result);
  result.ready = n > 1 && tracker.e_max <= settings.relative_error &&
                 flux_balanced(flux_balance(model, arrays), settings.relative_error);
  return result.ready;
}

// The start of both Krylov runs: factorise the matrix, then r = RHS - A u
// (`scratch` takes the product).
void start_residual(int nx, int ny, FieldArrays& arrays, NodeArray& scratch, NodeArray& r) {
  const StencilMatrix& a = arrays.matrix;
  factorise(nx, ny, a, arrays.work.factors);
  multiply(nx, ny, a, arrays.solution.potential, scratch);
  for (int k = 1; k <= nx * ny; ++k) r[k] = a.rhs[k] - scratch[k];
}

}  // namespace

SolveResult solve_ilu_bicg(const StructureModel& model, FieldArrays& arrays, const SolverSettings& settings,
                           const IterationMonitor& monitor) {
  const int nx = model.grid.nx;
  const int ny = model.grid.ny;
  const int n_nodes = nx * ny;
  const StencilMatrix& a = arrays.matrix;
  const IluFactors& f = arrays.work.factors;
  NodeArray& u = arrays.solution.potential;
  auto& vec = arrays.work.vectors;
  NodeArray& r = vec[0];
  NodeArray& r_hat = vec[1];
  NodeArray& p = vec[2];
  NodeArray& v = vec[3];
  NodeArray& s = vec[4];
  NodeArray& t = vec[5];

  start_residual(nx, ny, arrays, t, r);
  apply_preconditioner(nx, ny, f, r, r);
  for (int k = 1; k <= n_nodes; ++k) {
    r_hat[k] = r[k];
    p[k] = 0.0;
    v[k] = 0.0;
  }
  double rho = dot(n_nodes, r, r);
  double beta = rho;  // irrelevant in the first iteration: p and v are 0
  double omega = 1.0;

  SolveResult result;
  for (int n = 1; n <= settings.iteration_limit; ++n) {
    const double rho_old = rho;
    for_nodes(1, n_nodes, [&](int k, auto lanes) {
      using T = decltype(lanes);
      put(p, k, beta * (at<T>(p, k) - omega * at<T>(v, k)) + at<T>(r, k));
    });
    multiply(nx, ny, a, p, v);
    apply_preconditioner(nx, ny, f, v, v);
    const double alpha = rho / guarded(dot(n_nodes, v, r_hat));
    for_nodes(1, n_nodes, [&](int k, auto lanes) {
      using T = decltype(lanes);
      put(s, k, at<T>(r, k) - alpha * at<T>(v, k));
    });
    multiply(nx, ny, a, s, t);
    apply_preconditioner(nx, ny, f, t, t);
    double ts = 0.0, tt = 0.0;
    for (int k = 1; k <= n_nodes; ++k) {
      ts += t[k] * s[k];
      tt += t[k] * t[k];
    }
    omega = ts / guarded(tt);

    // New residual and correction in one pass (s is not needed afterwards,
    // so the correction is not kept). The next rho = (r, r_hat) is summed on
    // the way, in the same order.
    CorrectionTracker tracker;
    double rho_next = 0.0;
    for_nodes(1, n_nodes, [&](int k, auto lanes) {
      using T = decltype(lanes);
      const T r_new = at<T>(s, k) - omega * at<T>(t, k);
      put(r, k, r_new);
      const T terms = r_new * at<T>(r_hat, k);
      for (int i = 0; i < kLanes<T>; ++i) rho_next += lane(terms, i);
      const T correction = alpha * at<T>(p, k) + omega * at<T>(s, k);
      const T u_new = at<T>(u, k) + correction;
      put(u, k, u_new);
      tracker.note(k, correction, u_new);
    });
    if (finish_iteration(n, tracker, model, arrays, settings, monitor, result)) return result;

    rho = rho_next;
    omega = guarded(omega);
    beta = rho / guarded(rho_old) * alpha / omega;
  }
  return result;
}

SolveResult solve_ilu_cg(const StructureModel& model, FieldArrays& arrays, const SolverSettings& settings,
                         const IterationMonitor& monitor) {
  const int nx = model.grid.nx;
  const int ny = model.grid.ny;
  const int n_nodes = nx * ny;
  const StencilMatrix& a = arrays.matrix;
  const IluFactors& f = arrays.work.factors;
  NodeArray& u = arrays.solution.potential;
  auto& vec = arrays.work.vectors;
  NodeArray& r = vec[0];
  NodeArray& z = vec[1];
  NodeArray& p = vec[2];
  NodeArray& q = vec[3];

  start_residual(nx, ny, arrays, q, r);
  apply_preconditioner(nx, ny, f, r, z);
  for (int k = 1; k <= n_nodes; ++k) p[k] = z[k];
  double gamma = dot(n_nodes, r, z);
  double beta = 0.0;  // the first direction is z itself

  SolveResult result;
  for (int n = 1; n <= settings.iteration_limit; ++n) {
    if (n > 1) {
      for_nodes(1, n_nodes, [&](int k, auto lanes) {
        using T = decltype(lanes);
        put(p, k, at<T>(z, k) + beta * at<T>(p, k));
      });
    }
    const double delta = guarded(multiply_and_dot(nx, ny, a, p, q));  // (q, p)
    const double alpha = gamma / delta;
    for_nodes(1, n_nodes, [&](int k, auto lanes) {
      using T = decltype(lanes);
      put(r, k, at<T>(r, k) - alpha * at<T>(q, k));
    });
    apply_preconditioner(nx, ny, f, r, z);
    // The correction, and on the way the next gamma = (r, z) and the (z, q)
    // of the new direction.
    CorrectionTracker tracker;
    double gamma_next = 0.0, zq = 0.0;
    for_nodes(1, n_nodes, [&](int k, auto lanes) {
      using T = decltype(lanes);
      const T correction = alpha * at<T>(p, k);
      const T u_new = at<T>(u, k) + correction;
      put(u, k, u_new);
      tracker.note(k, correction, u_new);
      const T rz = at<T>(r, k) * at<T>(z, k);
      const T z_q = at<T>(z, k) * at<T>(q, k);
      for (int i = 0; i < kLanes<T>; ++i) {
        gamma_next += lane(rz, i);
        zq += lane(z_q, i);
      }
    });
    if (finish_iteration(n, tracker, model, arrays, settings, monitor, result)) return result;

    gamma = gamma_next;
    // The new direction is made A-conjugate to the old one.
    beta = -zq / delta;
  }
  return result;
}

}  // namespace tambri
