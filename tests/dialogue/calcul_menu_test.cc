#include "dialogue/calcul_menu.h"

#include <gtest/gtest.h>

#include "string_screen.h"
#include "support/solve_fixture.h"

namespace tambri {
namespace {

// What the menu shows is pinned by the whole-screen scripts; here what they
// cannot reach: a grid of one line in y, which no dialogue leaves behind, is
// no discretisation, cannot be assembled and must leave the arrays alone.
TEST(CalculEntry, AssemblyNeedsTwoLinesEachWay) {
  auto model = test::make_model(FieldProblem::kElectrostatic, {0, 1}, {0});
  auto arrays = std::make_unique<FieldArrays>();
  arrays->matrix.mitte[1] = 123.0;
  test::Screen screen("X\n");
  SolverSettings settings;
  run_calcul_menu(screen.console, *model, settings, *arrays, false, [] { return LocalDateTime{}; });
  EXPECT_EQ(screen.text(), "\n### Keine Diskretisierung ###\n");
  EXPECT_EQ(arrays->matrix.mitte[1], 123.0);
}

}  // namespace
}  // namespace tambri
