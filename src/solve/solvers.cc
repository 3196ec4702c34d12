#include "solve/solvers.h"

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
