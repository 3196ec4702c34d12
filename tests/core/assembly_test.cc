#include "core/assembly.h"

#include <gtest/gtest.h>

#include "support/solve_fixture.h"

namespace tambri {
namespace {

using test::assembled;
using test::lines;
using test::make_model;
using test::set_block;

TEST(MaterialCoefficients, FollowTheFieldProblemAndNoteWhatThePotentialsLack) {
  auto model = make_model(FieldProblem::kElectrostatic, lines(0, 1, 3), lines(0, 1, 3));
  model->tables.material0 = 2.0;
  model->tables.material[4] = 4.0;
  MaterialCoefficients m;
  using N = std::vector<PotentialNote>;
  EXPECT_EQ(fill_material_coefficients(*model, m),
            (N{PotentialNote::NoFixedPotentials, PotentialNote::AllPotentialsZero}));
  set_block(*model, 3, 3, 3, 3, 104);  // excitation 1 over material 4
  for (const auto& [problem, node, c] : {std::tuple{FieldProblem::kElectrostatic, 1, 8.86E-12 * 2.0},
                                         {FieldProblem::kElectrostatic, 9, 8.86E-12 * 4.0},
                                         {FieldProblem::kCurrentFlow, 1, 2.0},
                                         {FieldProblem::kMagnetostatic, 9, 1.0 / (1.2566E-6 * 4.0)}}) {
    model->problem = problem;
    fill_material_coefficients(*model, m);
    EXPECT_EQ(m.c[node], c) << traits_of(problem).letter << " " << node;
  }
  model->problem = FieldProblem::kElectrostatic;
  model->tables.potential[9] = 5.0;  // a table value that no node carries
  set_block(*model, 1, 1, 1, 1, 30);
  set_block(*model, 3, 3, 3, 3, 35);  // number 3 again, over material 5
  EXPECT_EQ(fill_material_coefficients(*model, m), N{PotentialNote::OnlyOnePotential});
  set_block(*model, 3, 3, 3, 3, 10);
  EXPECT_EQ(fill_material_coefficients(*model, m), N{});
  set_block(*model, 1, 3, 1, 3, 900);  // excitations are no potentials
  EXPECT_EQ(fill_material_coefficients(*model, m), N{PotentialNote::NoFixedPotentials});
}

// Spacing 0.4, conductivity 3 and one node of 5: the five-point star, the
// mean coefficient on a link between materials, half boxes at the border.
TEST(Assembly, UniformGridGivesTheFivePointStarAndHalfBoxesAtTheBorder) {
  auto model = make_model(FieldProblem::kCurrentFlow, lines(0, 0.4, 5), lines(0, 0.4, 5));
  model->tables.material0 = 3.0;
  model->tables.material[1] = 5.0;
  set_block(*model, 4, 4, 3, 3, 1);
  const auto arrays = assembled(*model);
  const StencilMatrix& m = arrays->matrix;
  const auto expect_star = [&](int k, std::vector<double> want) {
    const std::vector<double> got{m.links[k], m.oben[k], m.mitte[k], m.unten[k], m.rechts[k]};
    for (size_t n = 0; n < 5; ++n) EXPECT_NEAR(got[n], want[n], 1e-13) << k << " " << n;
  };
  expect_star(model->grid.node(2, 3), {3, 3, -12, 3, 3});
  expect_star(model->grid.node(3, 3), {3, 3, -13, 4, 3});
  expect_star(1, {0, 0, -3, 1.5, 1.5});
  EXPECT_EQ(m.unten[model->grid.nodes()] + m.rechts[model->grid.nodes()], 0.0);
}

// The box method is exact for a linear potential: on a non-uniform grid the
// residual of u = a x (u = b y) vanishes at every node not on an x (y) border.
TEST(Assembly, LinearPotentialHasZeroResidualOnANonUniformGrid) {
  auto model = make_model(FieldProblem::kCurrentFlow, lines(0, 1, 7, 1.4), lines(-1, 2, 6, 0.7));
  model->tables.material0 = 2.5;
  const auto arrays = assembled(*model);
  const Grid& g = model->grid;
  test::Dense s = test::dense_system(g, arrays->matrix);
  for (int axis = 0; axis < 2; ++axis) {
    // Row k - 1 of the system times u = 3 x (u = -2 y), less the right side.
    for (int r = 0; r < s.n; ++r) {
      const int i = r % g.nx + 1, j = r / g.nx + 1;
      double residual = -s.b[static_cast<size_t>(r)];
      for (int c = 0; c < s.n; ++c)
        residual += s.at(r, c) * (axis == 0 ? 3 * g.x[c % g.nx + 1] : -2 * g.y[c / g.nx + 1]);
      if (axis == 0 ? i > 1 && i < g.nx : j > 1 && j < g.ny) {
        EXPECT_NEAR(residual, 0, 1e-12) << i << " " << j;
      }
    }
  }
}

TEST(Assembly, FixedNodesGetIdentityRowsAndEveryAssemblyRestartsThePotential) {
  auto model = make_model(FieldProblem::kElectrostatic, lines(0, 1, 4), lines(0, 1, 3));
  model->tables.potential[2] = 42.0;
  set_block(*model, 2, 2, 2, 2, 23);  // potential 2 over material 3
  auto arrays = assembled(*model);
  const StencilMatrix& m = arrays->matrix;
  const int k = model->grid.node(2, 2);
  EXPECT_EQ((std::vector<double>{m.links[k], m.oben[k], m.mitte[k], m.unten[k], m.rechts[k], m.rhs[k]}),
            (std::vector<double>{0, 0, 1, 0, 0, 42}));
  EXPECT_GT(m.unten[k - 1], 0.0);  // the neighbour keeps its coupling
  arrays->solution.potential[1] = arrays->solution.potential[k] = 7.0;
  assemble(*model, arrays->material, arrays->matrix, arrays->solution);
  EXPECT_EQ(arrays->solution.potential[1], 0.0);
  EXPECT_EQ(arrays->solution.potential[k], 42.0);
}

TEST(Assembly, SourcesEnterWithTheBoxAreaInProblemsEAndMOnly) {
  // Box spans: x 0.2 at the border, 0.4 inside; y 1.0 and 2.0.
  auto model = make_model(FieldProblem::kElectrostatic, {0.0, 0.2, 0.4}, {0.0, 1.0, 2.0});
  model->tables.excitation[3] = 5.0;
  set_block(*model, 1, 3, 1, 3, 300);
  set_block(*model, 3, 3, 3, 3, 0);
  EXPECT_DOUBLE_EQ(assembled(*model)->matrix.rhs[5], -0.4 * 2.0 * 0.25 * 5.0);
  EXPECT_DOUBLE_EQ(assembled(*model)->matrix.rhs[1], -0.2 * 1.0 * 0.25 * 5.0);
  EXPECT_FALSE(std::signbit(assembled(*model)->matrix.rhs[9]));  // +0.0: its table shows no sign
  model->problem = FieldProblem::kMagnetostatic;
  EXPECT_DOUBLE_EQ(assembled(*model)->matrix.rhs[6], -0.2 * 2.0 * 0.25 * 5.0);
  model->problem = FieldProblem::kCurrentFlow;
  EXPECT_EQ(assembled(*model)->matrix.rhs[5], 0.0);
}

}  // namespace
}  // namespace tambri
