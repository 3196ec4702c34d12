#include "core/flux_balance.h"

#include <algorithm>
#include <cmath>

#include "model/assignment.h"

namespace tambri {
namespace {

// The balance fraction for each unit of the relative error bound, and the
// bound below which it is not tightened any further.
constexpr double kBalancePerBound = 1000.0;
constexpr double kTightestBound = 1.0E-6;
// Rounding share of the residual terms: a few thousand units of the last
// place, so that a flux near the rounding level of the rows is not held to
// more than the arithmetic can give.
constexpr double kRoundingShare = 1.0E-12;

}  // namespace

FluxBalance flux_balance(const StructureModel& model, const FieldArrays& arrays) {
  const int nx = model.grid.nx;
  const int n_nodes = model.grid.nodes();
  const StencilMatrix& a = arrays.matrix;
  const NodeArray& u = arrays.solution.potential;
  FluxBalance balance;
  bool fixed_seen = false;
  double first_fixed = 0.0;
  for (int k = 1; k <= n_nodes; ++k) {
    if (is_fixed_potential(model.occupancy[k])) {
      if (fixed_seen && u[k] != first_fixed) balance.carries_flux = true;
      if (!fixed_seen) first_fixed = u[k];
      fixed_seen = true;
      continue;
    }
    if (a.rhs[k] != 0.0) balance.carries_flux = true;
    double row = a.mitte[k] * u[k];
    double terms = std::fabs(row) + std::fabs(a.rhs[k]);
    double inflow = std::fabs(a.rhs[k]);
    const auto neighbour = [&](bool inside, double coupling, int j) {
      if (!inside) return;
      row += coupling * u[j];
      terms += std::fabs(coupling * u[j]);
      if (is_fixed_potential(model.occupancy[j])) inflow += std::fabs(coupling * (u[j] - u[k]));
    };
    neighbour(k - nx >= 1, a.links[k], k - nx);
    neighbour(k - 1 >= 1, a.oben[k], k - 1);
    neighbour(k + 1 <= n_nodes, a.unten[k], k + 1);
    neighbour(k + nx <= n_nodes, a.rechts[k], k + nx);
    balance.imbalance += std::fabs(a.rhs[k] - row);
    balance.throughput += inflow;
    balance.terms += terms;
  }
  return balance;
}

bool flux_balanced(const FluxBalance& balance, double relative_error) {
  if (!balance.carries_flux) return true;
  const double share = kBalancePerBound * std::max(relative_error, kTightestBound);
  return balance.imbalance <= share * balance.throughput + kRoundingShare * balance.terms;
}

}  // namespace tambri
