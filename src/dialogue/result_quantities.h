#pragma once
// The quantities the RESULTS menus offer for each field problem: their
// letters, help lines, the arrays the pictures receive, and the table
// selector and title the table output takes.
#include <string_view>
#include <vector>

#include "core/field_arrays.h"
#include "core/node_quantity.h"
#include "model/field_problem.h"

namespace tambri {

// The node arrays the quantities are made of.
enum class FieldArray { kNone, kPotential, kStrengthX, kStrengthY, kFluxX, kFluxY, kDensity };

const NodeArray* field_array(const FieldArrays& arrays, FieldArray which);

// One row of the quantity table of a problem, in menu order.
struct QuantityRow {
  std::string_view keys;  // "P", "EX", ...
  std::string_view help;  // "EX - x-Komp. von Feldstärke"
  // What the pictures (cut, equicolour, isolines, mountain) receive.
  FieldArray first, second;
  bool magnitude;
  std::string_view plot_name;  // "Feldstaerke Ex (V/m)"
  // What the table output receives.
  int table_selector;
  std::string_view table_title;  // "Feldstärke Ex (V/m)"

  NodeQuantity plot_quantity(const FieldArrays& arrays) const {
    return {field_array(arrays, first), field_array(arrays, second), magnitude, plot_name};
  }
};

// Potential, field strength, flux or current density and energy or loss
// power of the problem, named as its traits name them.
const std::vector<QuantityRow>& quantity_rows(FieldProblem problem);

// The rows the table menu has beyond the quantities: the occupancy and the
// material coefficient before them, the path integral after them.
struct TableExtras {
  QuantityRow occupancy;
  QuantityRow material;            // its help names P in problem M ...
  std::string_view material_keys;  // ... where K selects it as well
  std::string_view path_keys;      // "Q", "I" or "F"
  std::string_view path_help;      // "Q  - Ladungsberechnung"
};
const TableExtras& table_extras(FieldProblem problem);

// One vector quantity of the arrow menu.
struct ArrowRow {
  std::string_view keys;
  std::string_view help;
  FieldArray x, y;
  std::string_view name;

  VectorQuantity quantity(const FieldArrays& arrays) const {
    return {field_array(arrays, x), field_array(arrays, y), name};
  }
};
const std::vector<ArrowRow>& arrow_rows(FieldProblem problem);

}  // namespace tambri
