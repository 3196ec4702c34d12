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

using test::set_block;
using Values = std::vector<double>;

// Uneven lines whose sums and squares are exact in binary, so that every
// quotient below is exact and can be compared with ==.
const Values kX{0, 0.25, 0.75, 1.5, 2.5, 3, 4};
const Values kY{0, 0.5, 2, 2.25, 3};

struct Case {
  std::unique_ptr<StructureModel> model;
  std::unique_ptr<FieldArrays> arrays = std::make_unique<FieldArrays>();

  explicit Case(int problem, double material0 = 1.0, Values x = kX, Values y = kY)
      : model(test::make_model(problem, x, y)) {
    model->tables.material0 = material0;
  }
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
  // One array along y line j (i = 1..nx) or along x line i (j = 1..ny).
  Values row(const NodeArray& a, int j) const {
    Values r;
    for (int i = 1; i <= model->grid.nx; ++i) r.push_back(a[model->grid.node(i, j)]);
    return r;
  }
  Values column(const NodeArray& a, int i) const {
    Values r;
    for (int j = 1; j <= model->grid.ny; ++j) r.push_back(a[model->grid.node(i, j)]);
    return r;
  }
};

// u = x^2 + 2 y^2: every quotient is minus the sum of the two lines it spans,
// so the values tell which lines were used: the first two, the last two, or
// the two neighbours of the node.
TEST(DerivedFields, QuadraticPotentialShowsTheLinesOfEachQuotient) {
  const auto u = [](double x, double y) { return x * x + 2.0 * y * y; };
  const Values gx{-0.25, -0.75, -1.75, -3.25, -4.5, -6.5, -7};
  const Values gy{-1, -4, -5.5, -10, -10.5};
  Case e(kProblemE);
  const DerivedFields& de = e.run(u);
  EXPECT_EQ(e.row(de.strength_x, 3), gx);
  EXPECT_EQ(e.column(de.strength_y, 6), gy);
  // Problem M: By = gx, Bx = -gy; then H = B / (mu0 mu_r).
  Case m(kProblemM);
  const DerivedFields& dm = m.run(u);
  EXPECT_EQ(m.row(dm.flux_y, 2), gx);
  EXPECT_EQ(m.column(dm.flux_x, 7), (Values{1, 4, 5.5, 10, 10.5}));
  const int k = m.model->grid.node(4, 3);
  EXPECT_DOUBLE_EQ(dm.strength_x[k], 5.5 / kMu0);
  EXPECT_DOUBLE_EQ(dm.strength_y[k], -3.25 / kMu0);
  EXPECT_DOUBLE_EQ(dm.density[k], 0.5 * (5.5 * 5.5 + 3.25 * 3.25) / kMu0);
}

// A linear potential gives the constant field up to the borders.
TEST(DerivedFields, DensitiesAndSignsOfTheThreeProblems) {
  const auto u = [](double x, double y) { return 1.0 - 3.0 * x - 5.0 * y; };
  Case s(kProblemS, 2.0);  // kappa
  const DerivedFields& ds = s.run(u);
  Case e(kProblemE, 2.0);  // eps_r
  const DerivedFields& de = e.run(u);
  for (int k = 1; k <= 35; ++k) {
    ASSERT_EQ((Values{ds.strength_x[k], ds.strength_y[k], ds.flux_x[k], ds.flux_y[k]}), (Values{3, 5, 6, 10})) << k;
    ASSERT_EQ(ds.density[k], 68.0) << k;  // kappa (Ex^2 + Ey^2): no factor 1/2
    ASSERT_DOUBLE_EQ(de.flux_x[k], kEps0 * 2.0 * 3.0) << k;
    ASSERT_DOUBLE_EQ(de.density[k], 0.5 * kEps0 * 2.0 * 34.0) << k;
  }
  // The vector potential rising in y gives Bx = du/dy > 0, By = 0; rising in
  // x gives By = -du/dx < 0, Bx = 0 (a positive zero: no -0.000E+00 in tables).
  Case m(kProblemM, 2.0);  // mu_r
  const double reluctivity = 1.0 / (kMu0 * 2.0);
  const DerivedFields& d1 = m.run([](double, double y) { return 0.5 * y; });
  for (int k = 1; k <= 35; ++k) {
    ASSERT_EQ((Values{d1.flux_x[k], d1.flux_y[k], d1.strength_x[k]}), (Values{0.5, 0, reluctivity * 0.5})) << k;
    ASSERT_DOUBLE_EQ(d1.density[k], 0.125 * reluctivity) << k;
  }
  const DerivedFields& d2 = m.run([](double x, double) { return 0.5 * x; });
  for (int k = 1; k <= 35; ++k) {
    ASSERT_EQ((Values{d2.flux_x[k], d2.flux_y[k], d2.strength_y[k]}), (Values{0, -0.5, -0.5 * reluctivity})) << k;
    ASSERT_FALSE(std::signbit(d2.flux_x[k])) << k;
  }
}

// Material 1 (eps_r 4) on the x lines from..to: the x component of row 2 for
// u = x^2, whose central values are -0.75, -1.75, -3.25, -4.5, -6.5 at i = 2..6.
TEST(DerivedFields, MaterialChangeAlongXTakesTheValueFromTheOwnSide) {
  struct Change {
    int from, to;
    Values row;
  };
  const Change cases[] = {
      // Between 3 and 4: node 3 takes node 2's value, node 4 node 5's.
      {4, 7, {-0.25, -0.75, -0.75, -4.5, -4.5, -6.5, -7}},
      // Between the last interior nodes 5 and 6: node 6 keeps its central
      // quotient (its right neighbour is a border node).
      {6, 7, {-0.25, -0.75, -1.75, -3.25, -3.25, -6.5, -7}},
      // Between 1 and 2: node 2 takes node 3's value, found when node 3 is done.
      {1, 1, {-0.25, -1.75, -1.75, -3.25, -4.5, -6.5, -7}},
      // Between 6 and the border node 7: node 6 takes node 5's value.
      {7, 7, {-0.25, -0.75, -1.75, -3.25, -4.5, -4.5, -7}},
      // A layer of one node: node 2 takes node 1's value and hands it to
      // node 3; node 4 then gives node 3 its own central value before node 5
      // gives node 4 its value.
      {3, 3, {-0.25, -0.25, -3.25, -4.5, -4.5, -6.5, -7}},
  };
  for (const Change& c : cases) {
    Case e(kProblemE);
    e.model->tables.material[1] = 4.0;
    set_block(*e.model, c.from, c.to, 1, 5, 1);
    EXPECT_EQ(e.row(e.run([](double x, double) { return x * x; }).strength_x, 2), c.row) << c.from << ".." << c.to;
  }
  // u = y^2 in problem M: Bx in the last column (whose j - 2 neighbour would
  // be slot 0) is 2, 2.75 and 5 at the interior j = 2..4, 0.5 and 5.25 one-sided.
  for (const auto& [from, column] : {std::pair{1, Values{0.5, 2, 2.75, 5, 5.25}},  // no change
                                     {3, Values{0.5, 0.5, 5, 5, 5.25}},
                                     {4, Values{0.5, 2, 2, 5, 5.25}}}) {  // last two interior
    Case m(kProblemM);
    m.model->tables.material[1] = 1000.0;
    set_block(*m.model, 1, 7, from, 5, 1);
    EXPECT_EQ(m.column(m.run([](double, double y) { return y * y; }).flux_x, 7), column) << from;
  }
  // Conductivities 0 and 1.0E-20 differ; 0 and the next double below do not.
  for (const auto& [kappa, node3] : {std::pair{1.0E-20, -0.75}, {std::nextafter(1.0E-20, 0.0), -1.75}}) {
    Case s(kProblemS, 0.0);
    s.model->tables.material[1] = kappa;
    set_block(*s.model, 4, 7, 1, 5, 1);
    EXPECT_EQ(s.row(s.run([](double x, double) { return x * x; }).strength_x, 1)[2], node3) << kappa;
  }
}

// Arrays filled with NaN from an earlier use give, twice over, bit for bit
// what fresh arrays give.
TEST(DerivedFields, ReadsOnlyPotentialAndCoefficients) {
  auto model = test::mixed_model(kProblemE);
  auto arrays = test::assembled(*model);
  for (int k = 1; k <= model->grid.nodes(); ++k) arrays->solution.potential[k] = std::sin(0.37 * k) * 100.0;
  auto fresh = std::make_unique<DerivedFields>();
  compute_derived_fields(*model, arrays->material, arrays->solution, *fresh);
  DerivedFields& reused = arrays->derived;
  const auto members = {&DerivedFields::strength_x, &DerivedFields::strength_y, &DerivedFields::flux_x,
                        &DerivedFields::flux_y, &DerivedFields::density};
  for (auto member : members) (reused.*member).fill(std::numeric_limits<double>::quiet_NaN());
  const size_t bytes = sizeof(double) * static_cast<size_t>(model->grid.nodes());
  for (int run = 0; run < 2; ++run) {
    compute_derived_fields(*model, arrays->material, arrays->solution, reused);
    for (auto member : members) EXPECT_EQ(std::memcmp(&(reused.*member)[1], &((*fresh).*member)[1], bytes), 0) << run;
  }
}

// With one line in a direction there is no derivative along it; with two both
// nodes get the one quotient. Values beyond the grid are poisoned, so that a
// read past the last node would show.
TEST(DerivedFields, OneOrTwoLinesInADirection) {
  const auto u = [](double x, double y) { return 10.0 * x + 100.0 * y; };
  Case column(kProblemS, 1.0, {0.5}, {0, 1, 3});
  column.arrays->solution.potential.fill(1.0E9);
  const DerivedFields& d1 = column.run(u);
  EXPECT_EQ(column.column(d1.strength_x, 1), (Values{0, 0, 0}));
  EXPECT_EQ(column.column(d1.strength_y, 1), (Values{-100, -100, -100}));
  Case row(kProblemS, 1.0, {0, 2}, {1});
  row.arrays->solution.potential.fill(1.0E9);
  const DerivedFields& d2 = row.run(u);
  EXPECT_EQ(row.row(d2.strength_x, 1), (Values{-10, -10}));
  EXPECT_EQ(row.row(d2.strength_y, 1), (Values{0, 0}));
  Case none(kProblemE, 1.0, {}, {});
  EXPECT_TRUE(none.run(u).valid);
}

}  // namespace
}  // namespace tambri
