#pragma once
// From the structure to the five-point system: the material coefficient of
// every node, the notes about the fixed potentials, and the box-method
// assembly of div(c grad u) = -f on the non-uniform grid, which also sets the
// start potential. No console output: the dialogue prints the notes and
// " *** Matrix ready ***".
#include <array>
#include <vector>

#include "core/field_arrays.h"
#include "model/structure_model.h"

namespace tambri {

// Permittivity and permeability of free space as the program has always used
// them (eps0 is deliberately not 8.854E-12).
inline constexpr double kEps0 = 8.86E-12;  // As/Vm
inline constexpr double kMu0 = 1.2566E-6;  // Vs/Am

enum class PotentialNote {
  NoFixedPotentials,  // no node carries a potential number
  OnlyOnePotential,   // all fixed nodes carry the same number
  AllPotentialsZero,  // the nine table values are all 0.0
};

// The console text of a note, carriage control included.
const char* potential_note_text(PotentialNote note);

// True when both directions have at least two grid lines, which the box widths
// need; nothing may be assembled otherwise.
bool has_discretisation(const Grid& grid);

// The material a table or a result file shows for the coefficient c: the
// permittivity or the conductivity itself, in problem M the permeability
// mu0*mu_r, the inverse of the coefficient.
double shown_material(FieldProblem problem, double c);

// Fills c(k) for every node from the material digit of its occupancy and
// returns the notes about the fixed potentials, in the order they are shown.
std::vector<PotentialNote> fill_material_coefficients(const StructureModel& model, MaterialCoefficients& material);

// Width of the box around line n of the lines c[1..count]: half the distance
// between its neighbours, one-sided at the first and the last line.
double box_width(const std::array<double, kMaxLines + 1>& c, int n, int count);

// Assembles the matrix and right-hand side of every node and resets the
// potential to its start values (fixed value at fixed-potential nodes, 0.0
// elsewhere). Requires has_discretisation(model.grid).
void assemble(const StructureModel& model, const MaterialCoefficients& material, StencilMatrix& matrix,
              NodalSolution& solution);

}  // namespace tambri
