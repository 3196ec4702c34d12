#include "core/assembly.h"

#include <array>

#include "model/assignment.h"

namespace tambri {
namespace {

double coefficient_of(FieldProblem problem, double relative) {
  switch (problem) {
    case FieldProblem::kElectrostatic: return kEps0 * relative;
    case FieldProblem::kMagnetostatic: return 1.0 / (kMu0 * relative);
    case FieldProblem::kCurrentFlow: break;
  }
  return relative * 1.0;  // problem S: the conductivity itself
}

// Full span of the box around line n of the coordinates c[1..count]: twice the
// box width, one-sided at the first and the last line.
double box_span(const std::array<double, kMaxLines + 1>& c, int n, int count) {
  if (n == 1) return c[2] - c[1];
  if (n == count) return c[count] - c[count - 1];
  return c[n + 1] - c[n - 1];
}

}  // namespace

double box_width(const std::array<double, kMaxLines + 1>& c, int n, int count) { return box_span(c, n, count) / 2; }

const char* potential_note_text(PotentialNote note) {
  switch (note) {
    case PotentialNote::NoFixedPotentials: return " *** Keine konstanten Potentiale vorhanden ***";
    case PotentialNote::OnlyOnePotential: return " *** Nur ein Potential vorhanden ***";
    case PotentialNote::AllPotentialsZero: return " *** Alle Potentiale liegen auf Null ***";
  }
  return "";
}

double shown_material(FieldProblem problem, double c) { return problem == FieldProblem::kMagnetostatic ? 1.0 / c : c; }

bool has_discretisation(const Grid& grid) { return grid.nx >= 2 && grid.ny >= 2; }

std::vector<PotentialNote> fill_material_coefficients(const StructureModel& model, MaterialCoefficients& material) {
  const int n = model.grid.nodes();
  const ValueTables& tables = model.tables;
  std::array<bool, 10> present{};
  for (int k = 1; k <= n; ++k) {
    const int32_t code = model.occupancy[k];
    material.c[k] = coefficient_of(model.problem, tables.material_value(occupancy_material(code)));
    if (is_fixed_potential(code)) present[code / 10] = true;
  }

  std::vector<PotentialNote> notes;
  int numbers_present = 0;
  bool all_zero = true;
  for (int p = 1; p <= 9; ++p) {
    if (present[p]) ++numbers_present;
    if (tables.potential[p] != 0.0) all_zero = false;
  }
  if (numbers_present == 0) notes.push_back(PotentialNote::NoFixedPotentials);
  if (numbers_present == 1) notes.push_back(PotentialNote::OnlyOnePotential);
  if (all_zero) notes.push_back(PotentialNote::AllPotentialsZero);
  return notes;
}

void assemble(const StructureModel& model, const MaterialCoefficients& material, StencilMatrix& matrix,
              NodalSolution& solution) {
  const Grid& grid = model.grid;
  const int nx = grid.nx;
  const int ny = grid.ny;
  const NodeArray& c = material.c;
  const bool has_sources = traits_of(model.problem).has_excitations;

  for (int j = 1; j <= ny; ++j) {
    const double span_y = box_span(grid.y, j, ny);
    const double width_y = span_y / 2;
    for (int i = 1; i <= nx; ++i) {
      const int k = grid.node(i, j);
      const double span_x = box_span(grid.x, i, nx);
      const double width_x = span_x / 2;

      // Each coupling: the mean coefficient of the two nodes times the box
      // width across the face over the distance of the nodes.
      const double links = j > 1 ? (c[k] + c[k - nx]) / 2 * width_x / (grid.y[j] - grid.y[j - 1]) : 0.0;
      const double rechts = j < ny ? (c[k] + c[k + nx]) / 2 * width_x / (grid.y[j + 1] - grid.y[j]) : 0.0;
      const double oben = i > 1 ? (c[k] + c[k - 1]) / 2 * width_y / (grid.x[i] - grid.x[i - 1]) : 0.0;
      const double unten = i < nx ? (c[k] + c[k + 1]) / 2 * width_y / (grid.x[i + 1] - grid.x[i]) : 0.0;

      const int32_t code = model.occupancy[k];
      if (is_fixed_potential(code)) {
        // Identity row: the fixed value reaches the free neighbours through
        // the start potential, not through their right-hand sides.
        matrix.links[k] = matrix.oben[k] = matrix.unten[k] = matrix.rechts[k] = 0.0;
        matrix.mitte[k] = 1.0;
        matrix.rhs[k] = solution.potential[k] = model.tables.potential[code / 10];
        continue;
      }
      matrix.links[k] = links;
      matrix.oben[k] = oben;
      matrix.unten[k] = unten;
      matrix.rechts[k] = rechts;
      matrix.mitte[k] = -(links + oben + unten + rechts);
      solution.potential[k] = 0.0;
      double source = 0.0;
      if (has_sources && is_excitation(code)) source = model.tables.excitation[code / 100];
      // 0.0 - x instead of -x, so that a node without a source gets +0.0 and
      // its table entry does not print as -0.000E+00.
      matrix.rhs[k] = 0.0 - span_x * span_y * 0.25 * source;
    }
  }
}

}  // namespace tambri
