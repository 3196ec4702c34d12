#include "core/solvers.h"

namespace tambri {

GridPosition node_position(int k, int nx) {
  int j = k / nx;
  int i = k - nx * j;
  if (i > 0) {
    ++j;
  } else {
    i = nx;
  }
  return {i, j};
}

void record_iteration(int n, double e_max, int k_max, int nx, const IterationMonitor& monitor, SolveResult& result) {
  result.iterations = n;
  result.e_max = e_max;
  result.k_max = k_max;
  if (monitor) {
    const GridPosition at = node_position(k_max, nx);
    monitor({n, e_max, at.i, at.j});
  }
}

const SolverInfo& solver_info(int solver) {
  static const SolverInfo kSolvers[] = {
      {"ILU-BICG", true, solve_ilu_bicg},
      {"ILU-CG", true, solve_ilu_cg},
      {"SLOR", true, solve_slor},
      {"SOR", false, solve_sor},
  };
  if (solver < kSolverIluBicg || solver > kSolverSor) solver = kSolverIluBicg;
  return kSolvers[solver - 1];
}

}  // namespace tambri
