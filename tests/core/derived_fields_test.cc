#include "core/derived_fields.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <limits>
#include <map>
#include <memory>
#include <vector>

#include "support/solve_fixture.h"
#include "support/text_cases.h"

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

  explicit Case(FieldProblem problem, double material0 = 1.0, Values x = kX, Values y = kY)
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
  // One array along y line `line` (i = 1..nx) or, across, along x line `line` (j = 1..ny).
  Values along(const NodeArray& a, int line, bool across) const {
    Values r;
    const Grid& g = model->grid;
    for (int n = 1; n <= (across ? g.ny : g.nx); ++n) r.push_back(a[across ? g.node(line, n) : g.node(n, line)]);
    return r;
  }
};

// Every derived quantity, named as the table names it.
const std::map<std::string, NodeArray DerivedFields::*> kQuantities{{"Ex", &DerivedFields::strength_x},
                                                                    {"Ey", &DerivedFields::strength_y},
                                                                    {"Bx", &DerivedFields::flux_x},
                                                                    {"By", &DerivedFields::flux_y},
                                                                    {"W", &DerivedFields::density}};

// The rows and columns of the table: each a potential on a grid, perhaps
// with a second material, and what one quantity must be along one line.
TEST(DerivedFields, RowsAndColumnsOfTheTable) {
  for (const test::CaseRow& c : test::read_cases("tests/core/data/derived_fields.txt")) {
    const auto lines = [&](size_t f, const Values& fallback) {
      return c.words(f)[0] == "default" ? fallback : c.numbers(f);
    };
    Case e(*problem_of_letter(c.words(0)[0][0]), c.number(3, 0), lines(1, kX), lines(2, kY));
    e.model->tables.material[1] = c.number(3, 1);
    if (!c.words(4).empty()) set_block(*e.model, c.ints(4)[0], c.ints(4)[1], c.ints(4)[2], c.ints(4)[3], 1);
    e.arrays->solution.potential.fill(1.0E9);  // a read beyond the grid would show
    const Values p = c.numbers(5);
    const auto& got = e.run([&](double x, double y) {
      return p[0] + p[1] * x + p[2] * y + p[3] * x * x + p[4] * y * y;
    }).*kQuantities.at(c.words(6)[0]);
    const int line = static_cast<int>(c.number(6, 2));
    const Values values = e.along(got, line, c.words(6)[1] != "row");
    const std::vector<std::string> want = c.words(7);
    ASSERT_EQ(values.size(), want.size()) << c.where;
    for (size_t n = 0; n < want.size(); ++n) {
      if (want[n] == "nan") continue;
      // Exact, or to the rounding of a value computed from eps0 or mu0; a zero
      // with its sign (tables show -0.000E+00).
      const double w = test::number(want[n]), slack = want[n].find_first_of("*/") == std::string::npos ? 0 : 1e-15;
      EXPECT_NEAR(values[n], w, slack * std::fabs(w)) << c.where << " node " << n + 1;
      EXPECT_EQ(std::signbit(values[n]), std::signbit(w)) << c.where << " node " << n + 1;
    }
  }
}

// Arrays filled with NaN from an earlier use give, twice over, bit for bit
// what fresh arrays give.
TEST(DerivedFields, ReadsOnlyPotentialAndCoefficients) {
  auto model = test::mixed_model(FieldProblem::kElectrostatic);
  auto arrays = test::assembled(*model);
  for (int k = 1; k <= model->grid.nodes(); ++k) arrays->solution.potential[k] = std::sin(0.37 * k) * 100.0;
  auto fresh = std::make_unique<DerivedFields>();
  compute_derived_fields(*model, arrays->material, arrays->solution, *fresh);
  DerivedFields& reused = arrays->derived;
  for (const auto& [name, member] : kQuantities) (reused.*member).fill(std::numeric_limits<double>::quiet_NaN());
  const size_t bytes = sizeof(double) * static_cast<size_t>(model->grid.nodes());
  for (int run = 0; run < 2; ++run) {
    compute_derived_fields(*model, arrays->material, arrays->solution, reused);
    for (const auto& [name, member] : kQuantities)
      EXPECT_EQ(std::memcmp(&(reused.*member)[1], &((*fresh).*member)[1], bytes), 0) << name << " " << run;
  }
}

// A grid without lines is no error.
TEST(DerivedFields, NoLines) {
  Case none(FieldProblem::kElectrostatic, 1.0, {}, {});
  EXPECT_TRUE(none.run([](double x, double y) { return 10.0 * x + 100.0 * y; }).valid);
}

}  // namespace
}  // namespace tambri
