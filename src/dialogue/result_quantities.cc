#include "dialogue/result_quantities.h"

#include <array>

#include "dialogue/result_table.h"

namespace tambri {
namespace {

using A = FieldArray;

// The arrays a kind of quantity is made of and the table that shows it.
struct QuantityShape {
  A first, second;
  bool magnitude;
  int table_selector;
};

QuantityShape shape_of(QuantityKind kind) {
  switch (kind) {
    case QuantityKind::kPotential: return {A::kPotential, A::kNone, false, kTablePotential};
    case QuantityKind::kStrength: return {A::kStrengthX, A::kStrengthY, true, kTableMagnitudeFirst};
    case QuantityKind::kStrengthX: return {A::kStrengthX, A::kStrengthY, false, kTableLinks};
    case QuantityKind::kStrengthY: return {A::kStrengthY, A::kStrengthX, false, kTableOben};
    case QuantityKind::kFlux: return {A::kFluxX, A::kFluxY, true, kTableMagnitudeSecond};
    case QuantityKind::kFluxX: return {A::kFluxX, A::kFluxY, false, kTableMitte};
    case QuantityKind::kFluxY: return {A::kFluxY, A::kFluxX, false, kTableUnten};
    case QuantityKind::kDensity: return {A::kDensity, A::kFluxX, false, kTableRechts};
  }
  return {A::kNone, A::kNone, false, kTablePotential};
}

QuantityRow row_of(const QuantityTexts& q) {
  const QuantityShape shape = shape_of(q.kind);
  return {q.keys, q.help, shape.first, shape.second, shape.magnitude, q.plot_name, shape.table_selector, q.table_title};
}

// Table-only rows carry no picture arrays.
QuantityRow table_row(std::string_view keys, std::string_view help, int selector, std::string_view title) {
  return {keys, help, A::kNone, A::kNone, false, "", selector, title};
}

// The rows of one problem, built once from its traits.
struct ProblemRows {
  std::vector<QuantityRow> quantities;
  TableExtras table;
  std::vector<ArrowRow> arrows;

  explicit ProblemRows(const FieldProblemTraits& t)
      : table{table_row("U", "U  - Strukturbelegung", kTableOccupancy, "Strukturbelegung"),
              table_row(t.material_keys, t.material_help, kTableMaterial, t.material_title), t.material_alias,
              t.path.keys, t.path.help} {
    for (const QuantityTexts& q : t.quantities) quantities.push_back(row_of(q));
    for (const ArrowTexts& a : t.arrows) {
      arrows.push_back(a.flux ? ArrowRow{a.keys, a.help, A::kFluxX, A::kFluxY, a.name}
                              : ArrowRow{a.keys, a.help, A::kStrengthX, A::kStrengthY, a.name});
    }
  }
};

const ProblemRows& rows_of(FieldProblem problem) {
  // One entry per problem, in the order of their codes 1, 2, 3.
  static const std::array<ProblemRows, 3> kRows = {ProblemRows(traits_of(FieldProblem::kElectrostatic)),
                                                   ProblemRows(traits_of(FieldProblem::kCurrentFlow)),
                                                   ProblemRows(traits_of(FieldProblem::kMagnetostatic))};
  return kRows.at(static_cast<size_t>(code_of(problem) - 1));
}

}  // namespace

const NodeArray* field_array(const FieldArrays& arrays, FieldArray which) {
  const DerivedFields& d = arrays.derived;
  switch (which) {
    case A::kNone: return nullptr;
    case A::kPotential: return &arrays.solution.potential;
    case A::kStrengthX: return &d.strength_x;
    case A::kStrengthY: return &d.strength_y;
    case A::kFluxX: return &d.flux_x;
    case A::kFluxY: return &d.flux_y;
    case A::kDensity: return &d.density;
  }
  return nullptr;
}

const std::vector<QuantityRow>& quantity_rows(FieldProblem problem) { return rows_of(problem).quantities; }

const TableExtras& table_extras(FieldProblem problem) { return rows_of(problem).table; }

const std::vector<ArrowRow>& arrow_rows(FieldProblem problem) { return rows_of(problem).arrows; }

}  // namespace tambri
