// SOR and SLOR: point and line successive over-relaxation.
#include <cmath>

#include "core/flux_balance.h"
#include "core/solvers.h"
#include "model/assignment.h"

namespace tambri {
namespace {

// Added to the new value before dividing, so that a zero value gives a finite
// (huge) relative change instead of a division by zero.
constexpr double kRelativeChangeOffset = 1.0E-30;

// Relative change of one node and the running maximum (strictly larger wins).
struct ChangeTracker {
  double e_max = 0.0;
  int k_max = 0;
  void note(int k, double old_value, double new_value) {
    const double e = std::fabs((new_value - old_value) / (new_value + kRelativeChangeOffset));
    if (e > e_max) {
      e_max = e;
      k_max = k;
    }
  }
};

// The loop both relaxation solvers share: sweep, report, test. A small change
// of one sweep ends the run only once the potential also balances the fluxes;
// otherwise the sweeps go on.
template <class Sweep>
SolveResult relax(const StructureModel& model, const FieldArrays& arrays, const SolverSettings& settings,
                  const IterationMonitor& monitor, Sweep sweep) {
  SolveResult result;
  for (int n = 1; n <= settings.iteration_limit; ++n) {
    ChangeTracker tracker;
    sweep(tracker);
    record_iteration(n, tracker.e_max, tracker.k_max, model.grid.nx, monitor, result);
    if (tracker.e_max <= settings.relative_error &&
        flux_balanced(flux_balance(model, arrays), settings.relative_error)) {
      result.ready = true;
      return result;
    }
  }
  return result;
}

}  // namespace

SolveResult solve_sor(const StructureModel& model, FieldArrays& arrays, const SolverSettings& settings,
                      const IterationMonitor& monitor) {
  const int nx = model.grid.nx;
  const int n_nodes = model.grid.nodes();
  const StencilMatrix& a = arrays.matrix;
  double* u = arrays.solution.potential.data();
  const double omega = settings.omega;

  auto sweep = [&](ChangeTracker& tracker) {
    // Odd flat indices first, then even ones: the order is by parity of k,
    // not a checkerboard of (i, j).
    for (int first = 1; first <= 2; ++first) {
      for (int k = first; k <= n_nodes; k += 2) {
        if (is_fixed_potential(model.occupancy[k])) continue;
        double sum = a.rhs[k];
        if (k - nx >= 1) sum -= a.links[k] * u[k - nx];
        if (k - 1 >= 1) sum -= a.oben[k] * u[k - 1];
        if (k + 1 <= n_nodes) sum -= a.unten[k] * u[k + 1];
        if (k + nx <= n_nodes) sum -= a.rechts[k] * u[k + nx];
        const double g = sum / a.mitte[k];
        const double u_new = (1 - omega) * u[k] + omega * g;
        tracker.note(k, u[k], u_new);
        u[k] = u_new;
      }
    }
  };
  return relax(model, arrays, settings, monitor, sweep);
}

SolveResult solve_slor(const StructureModel& model, FieldArrays& arrays, const SolverSettings& settings,
                       const IterationMonitor& monitor) {
  const int nx = model.grid.nx;
  const int ny = model.grid.ny;
  const StencilMatrix& a = arrays.matrix;
  double* u = arrays.solution.potential.data();
  double* d = arrays.work.line_pivot.data();
  double* g = arrays.work.line_rhs.data();  // after the back substitution: the line solution w
  const double omega = settings.omega;

  auto sweep = [&](ChangeTracker& tracker) {
    for (int j = 1; j <= ny; ++j) {
      const int k0 = (j - 1) * nx;  // k of node (i, j) is k0 + i
      // Right-hand side of the row: the rows beside it as they stand now (row
      // j - 1 already of this sweep), eliminated by the Thomas algorithm as it
      // is formed.
      auto line_rhs = [&](int k) {
        double r = a.rhs[k];
        if (j > 1) r -= a.links[k] * u[k - nx];
        if (j < ny) r -= a.rechts[k] * u[k + nx];
        return r;
      };
      d[1] = a.mitte[k0 + 1];
      g[1] = line_rhs(k0 + 1);
      for (int i = 2; i <= nx; ++i) {
        const int k = k0 + i;
        const double f = a.oben[k] / d[i - 1];
        d[i] = a.mitte[k] - f * a.unten[k - 1];
        g[i] = line_rhs(k) - f * g[i - 1];
      }
      g[nx] = g[nx] / d[nx];
      for (int i = nx - 1; i >= 1; --i) g[i] = (g[i] - a.unten[k0 + i] * g[i + 1]) / d[i];

      for (int i = 1; i <= nx; ++i) {
        const int k = k0 + i;
        const double u_new = u[k] + omega * (g[i] - u[k]);
        tracker.note(k, u[k], u_new);
        u[k] = u_new;
      }
    }
  };
  return relax(model, arrays, settings, monitor, sweep);
}

}  // namespace tambri
