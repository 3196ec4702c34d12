#pragma once
// The four iterative solvers of the five-point system. They share one shape:
// the settings come in, the potential is improved in place from whatever it
// holds, a monitor hears about every iteration, and the result tells whether
// the stopping rule held. They print nothing and allocate nothing.
#include <functional>

#include "core/field_arrays.h"
#include "core/solver_settings.h"
#include "model/structure_model.h"

namespace tambri {

// Progress of one iteration (sweep): the largest relative correction and the
// grid position (i, j) of its node.
struct IterationReport {
  int iteration = 0;
  double e_max = 0.0;
  int i = 0;
  int j = 0;
};

// Called after every iteration; may be empty. The iteration limit is looked at
// after the monitor returns, so a monitor may lower it (in the settings the
// run was given) to end the run there as if the limit had been reached.
using IterationMonitor = std::function<void(const IterationReport&)>;

struct SolveResult {
  int iterations = 0;  // iterations done
  double e_max = 0.0;  // largest relative correction of the last iteration
  int k_max = 0;       // its node (0 when no node changed in a relaxation sweep)
  bool ready = false;  // true: stopping rule held; false: limit used up
};

// Each solver reads nx, ny and (SOR) the occupancy from the model, the matrix
// from `arrays`, and works in arrays.solution and arrays.work. Requires the
// matrix of has_discretisation() grid.
using SolverFunction = SolveResult (*)(const StructureModel& model, FieldArrays& arrays, const SolverSettings& settings,
                                       const IterationMonitor& monitor);

SolveResult solve_ilu_bicg(const StructureModel& model, FieldArrays& arrays, const SolverSettings& settings,
                           const IterationMonitor& monitor);
SolveResult solve_ilu_cg(const StructureModel& model, FieldArrays& arrays, const SolverSettings& settings,
                         const IterationMonitor& monitor);
SolveResult solve_slor(const StructureModel& model, FieldArrays& arrays, const SolverSettings& settings,
                       const IterationMonitor& monitor);
SolveResult solve_sor(const StructureModel& model, FieldArrays& arrays, const SolverSettings& settings,
                      const IterationMonitor& monitor);

struct SolverInfo {
  const char* name;    // "ILU-BICG", "ILU-CG", "SLOR", "SOR"
  bool rotating_mark;  // progress lines with "/ - \ |" rather than "***"
  SolverFunction solve;
};

// Solver number 1..4 as chosen in SolverSettings.
const SolverInfo& solver_info(int solver);

struct GridPosition {
  int i = 0;
  int j = 0;
};

// Grid position (i, j) of flat node k; node 0 (no change) gives (nx, 0).
GridPosition node_position(int k, int nx);

// Records iteration (sweep) n with its largest relative change in the result
// and tells the monitor, as every solver does after each iteration.
void record_iteration(int n, double e_max, int k_max, int nx, const IterationMonitor& monitor, SolveResult& result);

}  // namespace tambri
