#include "solve/assembly.h"

#include <gtest/gtest.h>

#include "solve_fixture.h"

namespace tambri {
namespace {

using test::assembled;
using test::graded_lines;
using test::make_model;
using test::set_block;
using test::set_code;
using test::uniform_lines;

TEST(MaterialCoefficients, FollowTheFieldProblem) {
  auto model = make_model(kProblemE, uniform_lines(0, 1, 3), uniform_lines(0, 1, 3));
  model->tables.material0 = 2.0;
  model->tables.material[4] = 4.0;
  set_code(*model, 2, 2, 4);
  set_code(*model, 3, 3, 104);  // excitation 1 over material 4
  MaterialCoefficients material;
  fill_material_coefficients(*model, material);
  EXPECT_EQ(material.c[1], 8.86E-12 * 2.0);
  EXPECT_EQ(material.c[model->grid.node(2, 2)], 8.86E-12 * 4.0);
  EXPECT_EQ(material.c[model->grid.node(3, 3)], 8.86E-12 * 4.0);

  model->problem = kProblemS;
  fill_material_coefficients(*model, material);
  EXPECT_EQ(material.c[1], 2.0);

  model->problem = kProblemM;
  model->tables.material0 = 1.0;
  fill_material_coefficients(*model, material);
  EXPECT_EQ(material.c[1], 1.0 / 1.2566E-6);
  EXPECT_EQ(material.c[model->grid.node(2, 2)], 1.0 / (1.2566E-6 * 4.0));
}

TEST(PotentialNotes, CountTheNumbersPresentAndTheTableValues) {
  using N = std::vector<PotentialNote>;
  auto model = make_model(kProblemE, uniform_lines(0, 1, 3), uniform_lines(0, 1, 3));
  MaterialCoefficients material;
  EXPECT_EQ(fill_material_coefficients(*model, material),
            (N{PotentialNote::NoFixedPotentials, PotentialNote::AllPotentialsZero}));

  model->tables.potential[9] = 5.0;  // a value in the table, no node carries it
  set_code(*model, 1, 1, 30);
  set_code(*model, 3, 3, 35);  // number 3 over material 5
  EXPECT_EQ(fill_material_coefficients(*model, material), (N{PotentialNote::OnlyOnePotential}));

  set_code(*model, 3, 3, 10);
  EXPECT_EQ(fill_material_coefficients(*model, material), N{});

  // Excitation codes are not potentials: 100 / 10 is not a number 1..9.
  set_code(*model, 1, 1, 100);
  set_code(*model, 3, 3, 900);
  EXPECT_EQ(fill_material_coefficients(*model, material), (N{PotentialNote::NoFixedPotentials}));
}

TEST(Assembly, UniformGridGivesTheFivePointStarAndHalfBoxesAtTheBorder) {
  auto model = make_model(kProblemS, uniform_lines(0, 0.4, 5), uniform_lines(0, 0.4, 5));
  model->tables.material0 = 3.0;
  auto arrays = assembled(*model);
  const StencilMatrix& m = arrays->matrix;
  const int inner = model->grid.node(3, 3);
  EXPECT_DOUBLE_EQ(m.links[inner], 3.0);
  EXPECT_DOUBLE_EQ(m.oben[inner], 3.0);
  EXPECT_DOUBLE_EQ(m.unten[inner], 3.0);
  EXPECT_DOUBLE_EQ(m.rechts[inner], 3.0);
  EXPECT_DOUBLE_EQ(m.mitte[inner], -12.0);

  EXPECT_EQ(m.links[1], 0.0);
  EXPECT_EQ(m.oben[1], 0.0);
  EXPECT_DOUBLE_EQ(m.unten[1], 1.5);
  EXPECT_DOUBLE_EQ(m.rechts[1], 1.5);
  EXPECT_DOUBLE_EQ(m.mitte[1], -3.0);

  const int last = model->grid.nodes();
  EXPECT_EQ(m.unten[last], 0.0);
  EXPECT_EQ(m.rechts[last], 0.0);
  EXPECT_DOUBLE_EQ(m.mitte[last], -3.0);
}

TEST(Assembly, MaterialBoundaryLinkCarriesTheMeanCoefficient) {
  auto model = make_model(kProblemS, uniform_lines(0, 1, 3), uniform_lines(0, 1, 3));
  model->tables.material0 = 1.0;
  model->tables.material[1] = 5.0;
  set_code(*model, 3, 2, 1);
  auto arrays = assembled(*model);
  const int k = model->grid.node(2, 2);
  EXPECT_DOUBLE_EQ(arrays->matrix.unten[k], 3.0);
  EXPECT_DOUBLE_EQ(arrays->matrix.oben[k], 1.0);
  EXPECT_DOUBLE_EQ(arrays->matrix.oben[model->grid.node(3, 2)], 3.0);
}

// The box method is exact for a linear potential: on any non-uniform grid the
// residual of u = a x + b y vanishes at every inner node, and at border nodes
// whose normal is perpendicular to the gradient.
TEST(Assembly, LinearPotentialHasZeroResidualOnANonUniformGrid) {
  auto model = make_model(kProblemS, graded_lines(0, 1, 7, 1.4), graded_lines(-1, 2, 6, 0.7));
  model->tables.material0 = 2.5;
  auto arrays = assembled(*model);
  const Grid& g = model->grid;
  const StencilMatrix& m = arrays->matrix;
  auto residual = [&](auto u, int i, int j) {
    double sum = m.mitte[g.node(i, j)] * u(i, j) - m.rhs[g.node(i, j)];
    if (j > 1) sum += m.links[g.node(i, j)] * u(i, j - 1);
    if (j < g.ny) sum += m.rechts[g.node(i, j)] * u(i, j + 1);
    if (i > 1) sum += m.oben[g.node(i, j)] * u(i - 1, j);
    if (i < g.nx) sum += m.unten[g.node(i, j)] * u(i + 1, j);
    return sum;
  };
  auto along_x = [&](int i, int) { return 3.0 * g.x[i]; };
  auto along_y = [&](int, int j) { return -2.0 * g.y[j]; };
  for (int j = 1; j <= g.ny; ++j) {
    for (int i = 1; i <= g.nx; ++i) {
      if (i > 1 && i < g.nx) {
        EXPECT_NEAR(residual(along_x, i, j), 0.0, 1e-12) << i << "," << j;
      }
      if (j > 1 && j < g.ny) {
        EXPECT_NEAR(residual(along_y, i, j), 0.0, 1e-12) << i << "," << j;
      }
    }
  }
}

TEST(Assembly, FixedNodesGetIdentityRowsAndStartValues) {
  auto model = make_model(kProblemE, uniform_lines(0, 1, 4), uniform_lines(0, 1, 3));
  model->tables.potential[2] = 42.0;
  set_code(*model, 2, 2, 23);  // potential 2 over material 3
  auto arrays = assembled(*model);
  const int k = model->grid.node(2, 2);
  const StencilMatrix& m = arrays->matrix;
  EXPECT_EQ(m.links[k], 0.0);
  EXPECT_EQ(m.oben[k], 0.0);
  EXPECT_EQ(m.unten[k], 0.0);
  EXPECT_EQ(m.rechts[k], 0.0);
  EXPECT_EQ(m.mitte[k], 1.0);
  EXPECT_EQ(m.rhs[k], 42.0);
  EXPECT_EQ(arrays->solution.potential[k], 42.0);
  // The neighbour keeps its coupling to the fixed node in its own row.
  EXPECT_GT(m.unten[model->grid.node(1, 2)], 0.0);

  // Every assembly starts the potential again.
  arrays->solution.potential[1] = 7.0;
  arrays->solution.potential[k] = 7.0;
  assemble(*model, arrays->material, arrays->matrix, arrays->solution);
  EXPECT_EQ(arrays->solution.potential[1], 0.0);
  EXPECT_EQ(arrays->solution.potential[k], 42.0);
}

TEST(Assembly, SourcesEnterWithTheBoxAreaInProblemsEAndMOnly) {
  // Boxes: x spans 0.2 (border) / 0.4 (inner), y spans 1.0 / 2.0.
  auto model = make_model(kProblemE, {0.0, 0.2, 0.4}, {0.0, 1.0, 2.0});
  model->tables.excitation[3] = 5.0;
  set_block(*model, 1, 3, 1, 3, 300);
  auto arrays = assembled(*model);
  EXPECT_DOUBLE_EQ(arrays->matrix.rhs[model->grid.node(2, 2)], -0.4 * 2.0 * 0.25 * 5.0);
  EXPECT_DOUBLE_EQ(arrays->matrix.rhs[model->grid.node(1, 1)], -0.2 * 1.0 * 0.25 * 5.0);

  model->problem = kProblemM;
  arrays = assembled(*model);
  EXPECT_DOUBLE_EQ(arrays->matrix.rhs[model->grid.node(3, 2)], -0.2 * 2.0 * 0.25 * 5.0);

  model->problem = kProblemS;
  arrays = assembled(*model);
  EXPECT_EQ(arrays->matrix.rhs[model->grid.node(2, 2)], 0.0);

  // A free node without a source has +0.0, not -0.0.
  model->problem = kProblemE;
  set_code(*model, 1, 1, 0);
  arrays = assembled(*model);
  EXPECT_FALSE(std::signbit(arrays->matrix.rhs[1]));
}

TEST(Assembly, NeedsTwoLinesInEachDirection) {
  Grid grid;
  grid.nx = 2;
  grid.ny = 1;
  EXPECT_FALSE(has_discretisation(grid));
  grid.ny = 2;
  EXPECT_TRUE(has_discretisation(grid));
  grid.nx = 0;
  EXPECT_FALSE(has_discretisation(grid));
}

}  // namespace
}  // namespace tambri
