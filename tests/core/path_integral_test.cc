#include "core/path_integral.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <numbers>
#include <vector>

#include "core/assembly.h"
#include "core/derived_fields.h"
#include "core/solvers.h"
#include "support/solve_fixture.h"
#include "support/text_cases.h"

namespace tambri {
namespace {

using test::lines;
using test::make_model;
using test::set_block;

// The side sums, the corners they use and the corner checks of the table.
TEST(PathIntegral, SideSumsAndCornerChecksOfTheTable) {
  const auto model = make_model(FieldProblem::kElectrostatic, {0, 1, 3, 4, 8}, {0, 2, 3, 7});
  const Grid& g = model->grid;
  auto d = std::make_unique<DerivedFields>();
  for (int j = 1; j <= g.ny; ++j) {
    for (int i = 1; i <= g.nx; ++i) d->flux_x[g.node(i, j)] = 10 * i + j, d->flux_y[g.node(i, j)] = 1000 * i + 100 * j;
  }
  for (const test::CaseRow& c : test::read_cases("tests/core/data/path_integral.txt")) {
    const std::vector<double> v = c.numbers(1);
    if (c.words(0)[0] == "sides") {
      const PathIntegral p = integrate_path(g, *d, v[0], v[1], v[2], v[3]);
      if (!std::isnan(c.number(2))) {
        EXPECT_EQ(p.flux, c.number(2)) << c.where;
      }
      EXPECT_EQ((std::vector<double>{p.xa, p.ya, p.xb, p.yb}), c.numbers(3)) << c.where;
      if (c.cols.size() > 4 && !c.words(4).empty()) {
        EXPECT_EQ((std::vector<int>{p.ia, p.ja, p.ib, p.jb, p.il, p.ir, p.jl, p.jr}), c.ints(4)) << c.where;
      }
    } else if (c.words(0)[0] == "first") {
      EXPECT_EQ(first_corner_outside(g, v[0], v[1]), c.number(2) != 0) << c.where;
    } else {
      const std::optional<PathCorners> p = accept_second_corner(1, 2, v[0], v[1]);
      const bool accepted = c.words(2)[0] != "refused";
      EXPECT_EQ(p.has_value(), accepted) << c.where;
      if (!p || !accepted) continue;
      EXPECT_EQ((std::vector<double>{p->xru, p->yru}), (std::vector<double>{c.number(2, 0), c.number(2, 1)}))
          << c.where;
      const std::string kind = c.words(2)[2];
      EXPECT_EQ(p->line_of_constant_x(), kind == "x") << c.where;
      EXPECT_EQ(p->line_of_constant_y(), kind == "y") << c.where;
    }
  }
}

// Solved problems: the path integral of the computed field against the
// physics it stands for.
struct Solved {
  std::unique_ptr<StructureModel> model;
  std::unique_ptr<FieldArrays> arrays;
  bool ready = false;

  explicit Solved(std::unique_ptr<StructureModel> m, double relative_error = 1e-13)
      : model(std::move(m)), arrays(test::assembled(*model)) {
    SolverSettings settings;
    settings.iteration_limit = 5000;
    settings.relative_error = relative_error;
    ready = solve_ilu_bicg(*model, *arrays, settings, {}).ready;
    compute_derived_fields(*model, arrays->material, arrays->solution, arrays->derived);
  }
  double flux(double xlo, double ylo, double xru, double yru) const {
    return integrate_path(model->grid, arrays->derived, xlo, ylo, xru, yru).flux;
  }
  // U / (sum of h / c) over the links from line `from` to line `to` (along x
  // or y), each link carrying the mean coefficient of its two nodes: the flux
  // density of a layered (series) region between two electrodes, exact for
  // the five-point system.
  double series_flux_density(bool along_x, int from, int to, double u) const {
    const GridLines& c = along_x ? model->grid.x : model->grid.y;
    const auto at = [&](int n) {
      return arrays->material.c[along_x ? model->grid.node(n, 1) : model->grid.node(1, n)];
    };
    double resistance = 0.0;
    for (int n = from; n < to; ++n) resistance += (c[n + 1] - c[n]) / ((at(n) + at(n + 1)) / 2);
    return u / resistance;
  }
};

// Plates on x lines 1..3 (100 V) and 23..25 (0 V) spanning the whole width in
// y, whose borders are natural: the field between them is uniform, with no
// fringe. Every x line between the plates, including those next to a change
// of dielectric, gives the same charge on the first plate. The side sum of a
// uniform field is exact, so only rounding and the solver's stopping rule are
// left (measured: below 1E-14 relative).
TEST(PathIntegralPhysics, ParallelPlateCapacitorChargeOnEveryLineOfTheGap) {
  for (bool layered : {false, true}) {
    auto model = make_model(FieldProblem::kElectrostatic, lines(0, 0.02, 25, 1.08), lines(0, 0.05, 11, 0.9));
    model->tables.material0 = 4.0;
    model->tables.material[1] = 9.0;
    model->tables.potential[1] = 100.0;
    set_block(*model, 1, 3, 1, 11, 10);
    set_block(*model, 23, 25, 1, 11, 20);
    if (layered) set_block(*model, 12, 17, 1, 11, 1);
    const Solved s(std::move(model));
    ASSERT_TRUE(s.ready);
    const Grid& g = s.model->grid;
    const double width = g.y[g.ny] - g.y[1];
    const double expected =
        layered ? width * s.series_flux_density(true, 3, 23, 100.0) : kEps0 * 4.0 * 100.0 * width / (g.x[23] - g.x[3]);
    for (int i = 4; i <= 22; ++i) {
      // Around the first plate, from beyond the borders to x line i.
      EXPECT_NEAR(s.flux(-1, -1, g.x[i], 1), expected, 1e-12 * expected) << layered << " " << i;
    }
  }
}

// A strip 4 mm wide between electrodes on y lines 1..2 (10 V) and 40..41
// (0 V); uniform, and with a section of lower conductivity in series. Exact
// like the plates; the conductivity step of 58 leaves the solver's stopping
// rule at about 1E-10 relative.
TEST(PathIntegralPhysics, CurrentThroughAConductingStrip) {
  for (bool layered : {false, true}) {
    auto model = make_model(FieldProblem::kCurrentFlow, lines(0, 0.004, 9, 1.2), lines(0, 0.1, 41, 1.05));
    model->tables.material0 = 5.8E7;
    model->tables.material[1] = 1.0E6;
    model->tables.potential[1] = 10.0;
    set_block(*model, 1, 9, 1, 2, 10);
    set_block(*model, 1, 9, 40, 41, 20);
    if (layered) set_block(*model, 1, 9, 15, 25, 1);
    const Solved s(std::move(model));
    ASSERT_TRUE(s.ready);
    const Grid& g = s.model->grid;
    const double width = g.x[g.nx] - g.x[1];
    const double expected =
        layered ? width * s.series_flux_density(false, 2, 40, 10.0) : 5.8E7 * 10.0 * width / (g.y[40] - g.y[2]);
    for (int j = 3; j <= 39; ++j) {
      EXPECT_NEAR(s.flux(-1, -1, 1, g.y[j]), expected, 1e-9 * expected) << layered << " " << j;
    }
    // What flows into a rectangle inside the strip flows out again.
    EXPECT_NEAR(s.flux(g.x[3], g.y[5], g.x[7], g.y[30]), 0.0, 1e-9 * expected) << layered;
  }
}

// A round conductor of radius 4 mm carrying Sz, centred in a square of side
// 120 mm whose nodes from 50 mm outwards are held at vector potential 0. The
// flux through the x line through the centre from r1 = 12.5 mm to r2 = 30 mm
// is (mu0 I / 2 pi) ln(r2 / r1) in magnitude, negative in +x (B circles the
// current anticlockwise). The side sum gives every node its whole box, so it
// stands for the flux between the outer edges of the end boxes, r1 - h/2 and
// r2 + h/2. I is the current the grid carries: Sz times the box areas of the
// excited nodes. Returns the relative error on a uniform grid of n x n lines.
double coax_flux_error(int n) {
  const int centre = (n + 1) / 2;
  const double h = 0.12 / (n - 1);
  std::vector<double> x;
  for (int m = 1; m <= n; ++m) x.push_back(h * (m - centre));  // symmetric about 0
  auto model = make_model(FieldProblem::kMagnetostatic, x, x);
  const double sz = 3.0E7;
  model->tables.excitation[1] = sz;
  const Grid& g = model->grid;
  double current = 0.0;
  for (int j = 1; j <= g.ny; ++j) {
    for (int i = 1; i <= g.nx; ++i) {
      const double r = std::hypot(g.x[i], g.y[j]);
      if (r <= 0.004) current += sz * box_width(g.x, i, g.nx) * box_width(g.y, j, g.ny);
      if (r <= 0.004 || r >= 0.05) model->occupancy[g.node(i, j)] = r <= 0.004 ? 100 : 10;
    }
  }
  const Solved s(std::move(model), 1e-10);  // far below the discretisation error
  EXPECT_TRUE(s.ready) << n;
  const int j1 = centre + static_cast<int>(std::lround(0.0125 / h));
  const int j2 = centre + static_cast<int>(std::lround(0.03 / h));
  const double r1 = g.y[j1] - h / 2, r2 = g.y[j2] + h / 2;
  const double expected = -kMu0 * current / (2 * std::numbers::pi) * std::log(r2 / r1);
  return std::fabs(s.flux(0.0, g.y[j1], 0.0, g.y[j2]) - expected) / std::fabs(expected);
}

// What is left is discretisation: the five-point solution, the staircase
// outlines of the conductor and of the grounded circle, and the side sum as a
// midpoint rule. Each halving of h cuts it by about 3 (0.77 %, 0.25 %, 0.068 %).
TEST(PathIntegralPhysics, RoundConductorFluxApproachesTheLogarithmOnFinerGrids) {
  const double coarse = coax_flux_error(49);  // h = 2.5 mm
  const double middle = coax_flux_error(97);  // h = 1.25 mm
  const double fine = coax_flux_error(193);   // h = 0.625 mm
  EXPECT_LT(coarse, 1.0E-2);
  EXPECT_LT(middle, coarse / 2) << coarse << " " << middle;
  EXPECT_LT(fine, middle / 2) << middle << " " << fine;
  EXPECT_LT(fine, 1.0E-3);
}

}  // namespace
}  // namespace tambri
