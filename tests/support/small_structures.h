#pragma once
// Small structure files for scripted sessions, one per field problem: a
// 0.04 m x 0.02 m domain on a 5 x 3 grid (lines 0.01 m apart), the upper
// border (first x line) on potential 1 and the lower border (last x line) on
// potential 2, with potential 1 = 10 V (E, S) and 2 = 0. Problem M has both
// borders at Vz = 0 and a current density of 1E6 A/m2 in the middle node.
#include <string>

#include "model/structure_file.h"
#include "model/structure_model.h"

namespace tambri::test {

inline std::string small_structure(FieldProblem problem) {
  StructureModel m;
  m.problem = problem;
  reset_tables_for_new_problem(m);
  m.xb = 0;
  m.yb = 0;
  m.xe = 0.04;
  m.ye = 0.02;
  m.grid.nx = 5;
  m.grid.ny = 3;
  for (int i = 1; i <= 5; ++i) m.grid.x[i] = 0.01 * (i - 1);
  for (int j = 1; j <= 3; ++j) m.grid.y[j] = 0.01 * (j - 1);
  m.tables.potential[1] = problem == FieldProblem::kMagnetostatic ? 0.0 : 10.0;
  m.borders.at[1] = {kSideOben, 10};
  m.borders.at[2] = {kSideUnten, 20};
  m.borders.count = 2;
  m.sequence[1] = m.sequence[2] = kShapeBorder;
  m.sequence_length = 2;
  if (problem == FieldProblem::kMagnetostatic) {
    m.tables.excitation[1] = 1.0E6;
    m.points.at[1] = {0.02, 0.01, 100};
    m.points.count = 1;
    m.sequence[3] = kShapePoint;
    m.sequence_length = 3;
  }
  return encode_structure(m);
}

}  // namespace tambri::test
