#include "core/derived_fields.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <limits>
#include <memory>
#include <vector>

#include "support/solve_fixture.h"

namespace tambri {
namespace {

using test::make_model;
using test::set_block;

// Uneven lines whose sums and squares are exact in binary, so that every
// quotient below is exact and can be compared with ==.
const std::vector<double> kX{0, 0.25, 0.75, 1.5, 2.5, 3, 4};
const std::vector<double> kY{0, 0.5, 2, 2.25, 3};

struct Case {
  std::unique_ptr<StructureModel> model;
  std::unique_ptr<FieldArrays> arrays = std::make_unique<FieldArrays>();

  Case(int problem, std::vector<double> x = kX, std::vector<double> y = kY)
      : model(make_model(problem, x, y)) {}

  // Potential u(x, y) at every node, coefficients from the occupancy, then
  // the derived fields.
  const DerivedFields& run(const std::function<double(double, double)>& u) {
    const Grid& g = model->grid;
    for (int j = 1; j <= g.ny; ++j) {
      for (int i = 1; i <= g.nx; ++i) arrays->solution.potential[g.node(i, j)] = u(g.x[i], g.y[j]);
    }
    fill_material_coefficients(*model, arrays->material);
    compute_derived_fields(*model, arrays->material, arrays->solution, arrays->derived);
    return arrays->derived;
  }
  double c(int i, int j) const { return arrays->material.c[model->grid.node(i, j)]; }
  // One array along y line j (i = 1..nx) or along x line i (j = 1..ny).
  std::vector<double> row(const NodeArray& a, int j) const {
    std::vector<double> r;
    for (int i = 1; i <= model->grid.nx; ++i) r.push_back(a[model->grid.node(i, j)]);
    return r;
  }
  std::vector<double> column(const NodeArray& a, int i) const {
    std::vector<double> r;
    for (int j = 1; j <= model->grid.ny; ++j) r.push_back(a[model->grid.node(i, j)]);
    return r;
  }
};

TEST(DerivedFields, LinearPotentialGivesTheConstantFieldUpToTheBorders) {
  Case e(kProblemE);
  e.model->tables.material0 = 2.0;
  const DerivedFields& d = e.run([](double x, double) { return 7.0 - 3.0 * x; });
  EXPECT_TRUE(d.valid);
  for (int j = 1; j <= 5; ++j) {
    EXPECT_EQ(e.row(d.strength_x, j), std::vector<double>(7, 3.0)) << j;
    EXPECT_EQ(e.row(d.strength_y, j), std::vector<double>(7, 0.0)) << j;
  }
  const int k = e.model->grid.node(1, 5);
  EXPECT_DOUBLE_EQ(d.flux_x[k], kEps0 * 2.0 * 3.0);
  EXPECT_EQ(d.flux_y[k], 0.0);
  EXPECT_DOUBLE_EQ(d.density[k], 0.5 * kEps0 * 2.0 * 9.0);
}

// u = x^2 + 2 y^2: every quotient is minus the sum of the two lines it spans,
// so the values tell which lines were used: the first two, the last two, or
// the two neighbours of the node.
TEST(DerivedFields, QuadraticPotentialShowsTheLinesOfEachQuotient) {
  const auto u = [](double x, double y) { return x * x + 2.0 * y * y; };
  const std::vector<double> gx{-0.25, -0.75, -1.75, -3.25, -4.5, -6.5, -7};
  const std::vector<double> gy{-1, -4, -5.5, -10, -10.5};
  Case e(kProblemE);
  const DerivedFields& de = e.run(u);
  EXPECT_EQ(e.row(de.strength_x, 3), gx);
  EXPECT_EQ(e.column(de.strength_y, 6), gy);

  // Problem M: By = gx, Bx = -gy; then H = B / (mu0 mu_r).
  Case m(kProblemM);
  const DerivedFields& dm = m.run(u);
  EXPECT_EQ(m.row(dm.flux_y, 2), gx);
  EXPECT_EQ(m.column(dm.flux_x, 7), (std::vector<double>{1, 4, 5.5, 10, 10.5}));
  const int k = m.model->grid.node(4, 3);
  EXPECT_DOUBLE_EQ(dm.strength_x[k], 5.5 / kMu0);
  EXPECT_DOUBLE_EQ(dm.strength_y[k], -3.25 / kMu0);
  EXPECT_DOUBLE_EQ(dm.density[k], 0.5 * (5.5 * 5.5 + 3.25 * 3.25) / kMu0);
}

TEST(DerivedFields, DensitiesAndSignsOfTheThreeProblems) {
  const auto u = [](double x, double y) { return 1.0 - 3.0 * x - 5.0 * y; };
  Case s(kProblemS);
  s.model->tables.material0 = 2.0;  // kappa
  const DerivedFields& ds = s.run(u);
  Case e(kProblemE);
  const DerivedFields& de = e.run(u);
  for (int k = 1; k <= 35; ++k) {
    ASSERT_EQ(ds.strength_x[k], 3.0) << k;
    ASSERT_EQ(ds.strength_y[k], 5.0) << k;
    ASSERT_EQ(ds.flux_x[k], 6.0) << k;
    ASSERT_EQ(ds.flux_y[k], 10.0) << k;
    ASSERT_EQ(ds.density[k], 68.0) << k;  // kappa (Ex^2 + Ey^2): no factor 1/2
    ASSERT_DOUBLE_EQ(de.density[k], 0.5 * kEps0 * 34.0) << k;
  }

  // The vector potential rising in y gives Bx = du/dy > 0, By = 0; rising in
  // x gives By = -du/dx < 0, Bx = 0 (a positive zero: no -0.000E+00 in tables).
  Case m(kProblemM);
  m.model->tables.material0 = 2.0;  // mu_r
  const DerivedFields& d1 = m.run([](double, double y) { return 0.5 * y; });
  const double reluctivity = 1.0 / (kMu0 * 2.0);
  for (int k = 1; k <= 35; ++k) {
    ASSERT_EQ(d1.flux_x[k], 0.5) << k;
    ASSERT_EQ(d1.flux_y[k], 0.0) << k;
    ASSERT_EQ(d1.strength_x[k], reluctivity * 0.5) << k;
    ASSERT_DOUBLE_EQ(d1.density[k], 0.125 * reluctivity) << k;
  }
  const DerivedFields& d2 = m.run([](double x, double) { return 0.5 * x; });
  for (int k = 1; k <= 35; ++k) {
    ASSERT_EQ(d2.flux_y[k], -0.5) << k;
    ASSERT_EQ(d2.flux_x[k], 0.0) << k;
    ASSERT_FALSE(std::signbit(d2.flux_x[k])) << k;
    ASSERT_EQ(d2.strength_y[k], -0.5 * reluctivity) << k;
  }
}

// Material 1 on the x lines from `from` to `to` (all y lines) and the
// resulting x component of row 2 for u = x^2 (see the quadratic case: the
// central values are -0.75, -1.75, -3.25, -4.5, -6.5 at i = 2..6).
std::vector<double> x_row_with_material(int from, int to, double relative = 4.0) {
  Case e(kProblemE);
  e.model->tables.material[1] = relative;
  set_block(*e.model, from, to, 1, 5, 1);
  const DerivedFields& d = e.run([](double x, double) { return x * x; });
  return e.row(d.strength_x, 2);
}

TEST(DerivedFields, MaterialChangeAlongXTakesTheValueFromTheOwnSide) {
  // Change between 3 and 4: node 3 takes node 2's value, node 4 node 5's.
  EXPECT_EQ(x_row_with_material(4, 7), (std::vector<double>{-0.25, -0.75, -0.75, -4.5, -4.5, -6.5, -7}));
  // Between the last two interior nodes 5 and 6: node 5 takes node 4's value,
  // node 6 keeps its central quotient (its right neighbour is a border node).
  EXPECT_EQ(x_row_with_material(6, 7), (std::vector<double>{-0.25, -0.75, -1.75, -3.25, -3.25, -6.5, -7}));
  // Between 1 and 2: node 2 takes node 3's value, found when node 3 is done.
  EXPECT_EQ(x_row_with_material(1, 1), (std::vector<double>{-0.25, -1.75, -1.75, -3.25, -4.5, -6.5, -7}));
  // Between 6 and the border node 7: node 6 takes node 5's value.
  EXPECT_EQ(x_row_with_material(7, 7), (std::vector<double>{-0.25, -0.75, -1.75, -3.25, -4.5, -4.5, -7}));
  // A layer of one node: node 2 takes node 1's value and hands it to node 3;
  // node 4 then gives node 3 its own central value before node 5 gives
  // node 4 its value.
  EXPECT_EQ(x_row_with_material(3, 3), (std::vector<double>{-0.25, -0.25, -3.25, -4.5, -4.5, -6.5, -7}));
}

TEST(DerivedFields, MaterialChangeAlongYInProblemM) {
  // u = y^2: Bx = -gy in the Mitte place is the sum of the two lines spanned,
  // 2, 2.75 and 5 at the interior j = 2..4 (one-sided 0.5 and 5.25).
  const auto bx_column = [](int from, int to) {
    Case m(kProblemM);
    m.model->tables.material[1] = 1000.0;
    set_block(*m.model, 1, 7, from, to, 1);
    const DerivedFields& d = m.run([](double, double y) { return y * y; });
    return m.column(d.flux_x, 7);  // the last column: its j - 2 neighbour would be slot 0
  };
  EXPECT_EQ(bx_column(1, 5), (std::vector<double>{0.5, 2, 2.75, 5, 5.25}));  // no change
  EXPECT_EQ(bx_column(3, 5), (std::vector<double>{0.5, 0.5, 5, 5, 5.25}));
  EXPECT_EQ(bx_column(4, 5), (std::vector<double>{0.5, 2, 2, 5, 5.25}));  // last two interior
}

TEST(DerivedFields, CoefficientsDifferFromTenToTheMinusTwenty) {
  // Conductivities 0 and 1.0E-20 differ; 0 and the next double below do not.
  const auto row_for = [](double kappa) {
    Case s(kProblemS);
    s.model->tables.material0 = 0.0;
    s.model->tables.material[1] = kappa;
    set_block(*s.model, 4, 7, 1, 5, 1);
    const DerivedFields& d = s.run([](double x, double) { return x * x; });
    return s.row(d.strength_x, 1)[2];  // node 3, before the change
  };
  EXPECT_EQ(row_for(1.0E-20), -0.75);
  EXPECT_EQ(row_for(std::nextafter(1.0E-20, 0.0)), -1.75);
}

TEST(DerivedFields, ReadsOnlyPotentialAndCoefficients) {
  auto model = test::mixed_model(kProblemE);
  auto arrays = test::assembled(*model);
  for (int k = 1; k <= model->grid.nodes(); ++k) {
    arrays->solution.potential[k] = std::sin(0.37 * k) * 100.0;
  }
  auto fresh = std::make_unique<DerivedFields>();
  compute_derived_fields(*model, arrays->material, arrays->solution, *fresh);
  DerivedFields& reused = arrays->derived;
  const double nan = std::numeric_limits<double>::quiet_NaN();
  for (NodeArray* a : {&reused.strength_x, &reused.strength_y, &reused.flux_x, &reused.flux_y,
                       &reused.density}) {
    a->fill(nan);
  }
  for (int run = 0; run < 2; ++run) {
    compute_derived_fields(*model, arrays->material, arrays->solution, reused);
    // Bit for bit over the nodes 1..N (slot 0 is unused).
    const size_t bytes = sizeof(double) * static_cast<size_t>(model->grid.nodes());
    EXPECT_EQ(std::memcmp(&reused.strength_x[1], &fresh->strength_x[1], bytes), 0) << run;
    EXPECT_EQ(std::memcmp(&reused.strength_y[1], &fresh->strength_y[1], bytes), 0) << run;
    EXPECT_EQ(std::memcmp(&reused.flux_x[1], &fresh->flux_x[1], bytes), 0) << run;
    EXPECT_EQ(std::memcmp(&reused.flux_y[1], &fresh->flux_y[1], bytes), 0) << run;
    EXPECT_EQ(std::memcmp(&reused.density[1], &fresh->density[1], bytes), 0) << run;
  }
}

// With one line in a direction there is no derivative along it; with two both
// nodes get the one quotient. Values beyond the grid are poisoned, so that a
// read past the last node would show.
TEST(DerivedFields, OneOrTwoLinesInADirection) {
  const auto u = [](double x, double y) { return 10.0 * x + 100.0 * y; };
  Case column(kProblemS, {0.5}, {0, 1, 3});
  column.arrays->solution.potential.fill(1.0E9);
  const DerivedFields& d1 = column.run(u);
  EXPECT_EQ(column.column(d1.strength_x, 1), (std::vector<double>{0, 0, 0}));
  EXPECT_EQ(column.column(d1.strength_y, 1), (std::vector<double>{-100, -100, -100}));

  Case row(kProblemS, {0, 2}, {1});
  row.arrays->solution.potential.fill(1.0E9);
  const DerivedFields& d2 = row.run(u);
  EXPECT_EQ(row.row(d2.strength_x, 1), (std::vector<double>{-10, -10}));
  EXPECT_EQ(row.row(d2.strength_y, 1), (std::vector<double>{0, 0}));

  Case none(kProblemE, {}, {});
  EXPECT_TRUE(none.run(u).valid);
}

}  // namespace
}  // namespace tambri
