#pragma once
// Whether a potential solves the five-point system, judged by what the user
// reads from it: fluxes and currents. Each row of the system is the balance
// of the fluxes into one node's box, so the sum of the row residuals over a
// region is the flux the potential loses or gains there, and the largest
// difference between the fluxes through any two lines is at most the sum of
// all residuals. That sum is compared with the flux the structure carries.
#include "core/field_arrays.h"
#include "model/structure_model.h"

namespace tambri {

// Flux lost or gained over the free nodes, relative to the flux the structure
// carries.
struct FluxBalance {
  // Sum over the free nodes of |RHS - A u|.
  double imbalance = 0.0;
  // The flux that enters the free nodes: sources |RHS| plus the link fluxes
  // |coupling * (u(fixed) - u)| from fixed-potential neighbours.
  double throughput = 0.0;
  // Sum of the magnitudes of every term of the free rows: the scale of the
  // rounding that any residual evaluation carries.
  double terms = 0.0;
  // False when the structure has no sources and all its fixed nodes share
  // one potential (or there are none): its solution is constant, it carries
  // no flux, and there is nothing to balance against.
  bool carries_flux = false;
};

FluxBalance flux_balance(const StructureModel& model, const FieldArrays& arrays);

// The imbalance a potential may keep and still count as solved for the
// relative error bound: a fraction of the throughput that is 1000 times the
// bound, but never below 1E-3, since the Krylov solvers' division guard
// stops their progress on magnetic problems near that level; plus a rounding
// allowance. A structure that carries no flux is always balanced.
bool flux_balanced(const FluxBalance& balance, double relative_error);

}  // namespace tambri
