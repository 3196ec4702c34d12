#pragma once
// The two 201 x 201 reference problems of the benchmarks, built as parts and
// mapped onto the grid by the program's own rasterisation:
//   coax:   E, 0..0.1 m square, border Gesamt at 0 V, circle (0.05, 0.05) r 0.01 at 100 V;
//   plates: E, same grid, Oben at 100 V, Unten at 0 V, material 1 (eps 4) over the
//           middle third between them.
#include <cstdint>
#include <memory>

#include "core/rasterise.h"
#include "model/structure_model.h"

namespace tambri::bench {

inline constexpr int kReferenceLines = 201;
inline constexpr double kReferenceSide = 0.1;

enum ReferenceProblem { kCoax = 0, kPlates = 1 };

inline const char* problem_name(int problem) { return problem == kCoax ? "coax" : "plates"; }

inline std::unique_ptr<StructureModel> reference_model(int problem) {
  auto model = std::make_unique<StructureModel>();
  const auto add_part = [&](int32_t shape) { model->sequence[static_cast<size_t>(++model->sequence_length)] = shape; };
  model->problem = FieldProblem::kElectrostatic;
  reset_tables_for_new_problem(*model);
  model->xb = model->yb = 0.0;
  model->xe = model->ye = kReferenceSide;
  model->grid.nx = model->grid.ny = kReferenceLines;
  for (int n = 1; n <= kReferenceLines; ++n) {
    model->grid.x[n] = model->grid.y[n] = kReferenceSide * (n - 1) / (kReferenceLines - 1);
  }
  if (problem == kCoax) {
    model->tables.potential[1] = 0.0;
    model->tables.potential[2] = 100.0;
    model->borders.at[++model->borders.count] = {kSideGesamt, 10};
    add_part(kShapeBorder);
    model->circles.at[++model->circles.count] = {0.05, 0.05, 0.01, 20};
    add_part(kShapeCircle);
  } else {
    model->tables.potential[1] = 100.0;
    model->tables.potential[2] = 0.0;
    model->tables.material[1] = 4.0;
    model->borders.at[++model->borders.count] = {kSideOben, 10};
    add_part(kShapeBorder);
    model->borders.at[++model->borders.count] = {kSideUnten, 20};
    add_part(kShapeBorder);
    model->rectangles.at[++model->rectangles.count] = {kReferenceSide / 3, 0.0, 2 * kReferenceSide / 3, kReferenceSide,
                                                       1};
    add_part(kShapeRectangle);
  }
  rasterise(*model);
  return model;
}

}  // namespace tambri::bench
