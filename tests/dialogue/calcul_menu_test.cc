#include "dialogue/calcul_menu.h"

#include <gtest/gtest.h>

#include "string_screen.h"
#include "support/solve_fixture.h"

namespace tambri {
namespace {

// What the menu shows is pinned by the whole-screen scripts; here what they
// cannot reach: both notes of a structure without potentials, and a grid of
// one line each way, which cannot be assembled and must leave the arrays alone.
std::string visit(const StructureModel& model, FieldArrays& arrays) {
  test::Screen screen("X\n");
  SolverSettings settings;
  run_calcul_menu(screen.console, model, settings, arrays, false, [] { return LocalDateTime{}; });
  return screen.text();
}

TEST(CalculEntry, NotesComeBeforeTheAssemblyWhichNeedsTwoLinesEachWay) {
  auto model = test::make_model(kProblemE, {0, 1}, {0, 1});
  auto arrays = std::make_unique<FieldArrays>();
  const std::string notes =
      "\n*** Keine konstanten Potentiale vorhanden ***\n\n\n*** Alle Potentiale liegen auf Null ***\n\n"
      "*** Matrix ready ***\n\nHELP:";
  EXPECT_EQ(visit(*model, *arrays).substr(0, notes.size()), notes);
  model->grid.ny = 1;
  arrays->matrix.mitte[1] = 123.0;
  EXPECT_EQ(visit(*model, *arrays), "\n### Keine Diskretisierung ###\n");
  EXPECT_EQ(arrays->matrix.mitte[1], 123.0);
}

}  // namespace
}  // namespace tambri
