#pragma once
// Field strength, flux (or current) density and energy (or loss-power)
// density at every node, from the potential, the grid and the material
// coefficients. Prints nothing; the dialogue writes " *** Felder ready ***".
#include "core/field_arrays.h"
#include "model/structure_model.h"

namespace tambri {

// Two material coefficients count as different when they are at least this
// far apart.
inline constexpr double kMaterialChange = 1.0E-20;

// Fills every array of `derived` for the nodes of model.grid and sets
// derived.valid. Reads only the problem, the grid, u and c, so a second call
// gives the same values bit for bit.
//
// Pass 1 forms the negative derivatives gx, gy: one-sided on the first and
// the last line of a direction, central in between. A central quotient that
// reaches across a change of material is replaced by the one-sided value of
// the neighbour on the node's own side (the next node's or the previous
// node's). E and S store Ex = gx, Ey = gy; M stores By = gx, Bx = -gy.
// Pass 2 multiplies by c: D (E), S (S) or H (M), and forms the density:
// (E.D)/2, E.S (no factor 1/2) or (H.B)/2.
//
// A direction with fewer than two lines has no derivative: its quotients are
// 0.0 and no node beyond the grid is read.
void compute_derived_fields(const StructureModel& model, const MaterialCoefficients& material,
                            const NodalSolution& solution, DerivedFields& derived);

}  // namespace tambri
