#include "core/path_integral.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <numbers>
#include <vector>

#include "core/assembly.h"
#include "core/derived_fields.h"
#include "core/solvers.h"
#include "support/solve_fixture.h"

namespace tambri {
namespace {

using test::lines;
using test::make_model;
using test::set_block;

constexpr double kInf = std::numeric_limits<double>::infinity();
const double kNan = std::nan("");

// X = 0 1 3 4 8 with box widths a = 0.5 1.5 1.5 2.5 2; Y = 0 2 3 7 with
// b = 1 1.5 2.5 2. Qx(i, j) = 10 i + j and Qy(i, j) = 1000 i + 100 j, so that
// every term of a side sum is told apart by its digits. Each case gives the
// corners, the flux (NaN: not checked), the corners used and the lines
// ia ja ib jb il ir jl jr (empty: not checked).
TEST(PathIntegral, SideSumsOverTheBoxesOfTheLinesReached) {
  const auto model = make_model(kProblemE, {0, 1, 3, 4, 8}, {0, 2, 3, 7});
  const Grid& g = model->grid;
  auto d = std::make_unique<DerivedFields>();
  for (int j = 1; j <= g.ny; ++j) {
    for (int i = 1; i <= g.nx; ++i) d->flux_x[g.node(i, j)] = 10 * i + j, d->flux_y[g.node(i, j)] = 1000 * i + 100 * j;
  }
  struct Case {
    std::vector<double> corners;
    double flux;
    std::vector<double> used;
    std::vector<int> lines;
  };
  const Case cases[] = {
      // y sides j = 2, 3 over i = 2..4: -(1.5*2200 + 1.5*3200 + 2.5*4200) +
      // (1.5*2300 + 1.5*3300 + 2.5*4300) = 550; x sides i = 2, 4 over j = 2..3:
      // -(1.5*22 + 2.5*23) + (1.5*42 + 2.5*43) = 80.
      {{1, 2, 4, 3}, 630, {1, 2, 4, 3}, {2, 2, 4, 3, 2, 4, 2, 3}},
      // Corners between lines move down to the lines at or below them.
      {{1.5, 2.5, 4.5, 3.5}, 630, {1, 2, 4, 3}, {2, 2, 4, 3, 2, 4, 2, 3}},
      // A corner on the first line is inside: its side at x = 0 counts,
      // -(1.5*12 + 2.5*13), and the y sides reach over i = 1..4.
      {{0, 2, 4, 3}, 600.0 - 50.5 + 170.5, {0, 2, 4, 3}, {1, 2, 4, 3, 1, 4, 2, 3}},
      // Lines include their end boxes. x = 3 from y = 0 to 7: flux in +x,
      // 1*31 + 1.5*32 + 2.5*33 + 2*34 = 229.5, and -1.5*3100 + 1.5*3400 = 450.
      {{3, 0, 3, 7}, 679.5, {3, 0, 3, 7}, {3, 1, 3, 4, 3, 3, 1, 4}},
      // y = 3 from x = 1 to 8: 1.5*2300 + 1.5*3300 + 2.5*4300 + 2*5300 = 29750,
      // and the end boxes -2.5*23 + 2.5*53 = 75.
      {{1, 3, 8, 3}, 29825, {1, 3, 8, 3}, {}},
      // Sides outside the grid contribute nothing. Beyond the last x line: no
      // side at xb; y sides over i = 2..5, -29000 + 29750, and x = 1, -90.5.
      {{1, 2, 9, 3}, 659.5, {1, 2, 9, 3}, {2, 2, 6, 3, 2, 5, 2, 3}},
      // Before the first lines: only the sides at x = 3 and y = 3, from the
      // first nodes on: 0.5*1300 + 1.5*2300 + 1.5*3300 + 1*31 + 1.5*32 + 2.5*33.
      {{-1, -1, 3, 3}, 9211.5, {-1, -1, 3, 3}, {0, 0, 3, 3, 1, 3, 1, 3}},
      {{-1, -1, 9, 9}, 0, {-1, -1, 9, 9}, {0, 0, 6, 5, 1, 5, 1, 4}},  // around the whole grid
      // Wholly before the first x line: no line lies below the second corner,
      // so the rectangle is taken up to line 1.
      {{-2, 2, -1, 3}, kNan, {-2, 2, 0, 3}, {0, 2, 1, 3, 1, 1, 2, 3}},
  };
  for (const Case& c : cases) {
    const PathIntegral p = integrate_path(g, *d, c.corners[0], c.corners[1], c.corners[2], c.corners[3]);
    const std::string where = ::testing::PrintToString(c.corners);
    if (!std::isnan(c.flux)) EXPECT_EQ(p.flux, c.flux) << where;
    EXPECT_EQ((std::vector<double>{p.xa, p.ya, p.xb, p.yb}), c.used) << where;
    if (!c.lines.empty()) EXPECT_EQ((std::vector<int>{p.ia, p.ja, p.ib, p.jb, p.il, p.ir, p.jl, p.jr}), c.lines) << where;
  }
  // The first corner may lie before the grid, not beyond its last lines.
  for (const auto& [x, y, outside] : {std::tuple{8.0, 7.0, false}, {-100.0, -100.0, false},
                                      {std::nextafter(8.0, kInf), 0.0, true}, {0.0, 7.5, true},
                                      {kNan, 0.0, true}, {0.0, -kInf, true}}) {
    EXPECT_EQ(first_corner_outside(g, x, y), outside) << x << " " << y;
  }
}

// The second corner lies right of and below the first; within 1.0E-10 it is
// taken as on the first corner's line.
TEST(PathIntegral, SecondCornerChecks) {
  for (const auto& [x, y] : {std::pair{0.5, 3.0}, {4.0, 1.5}, {1 - 5e-11, 5.0}, {1.0, 2.0}, {1 + 5e-11, 2 + 5e-11},
                             {kNan, 5.0}, {4.0, kInf}}) {
    EXPECT_FALSE(accept_second_corner(1, 2, x, y)) << x << " " << y;
  }
  const auto x_line = accept_second_corner(1, 2, 1 + 5e-11, 5);
  ASSERT_TRUE(x_line);
  EXPECT_EQ(x_line->xru, 1.0);
  EXPECT_TRUE(x_line->line_of_constant_x() && !x_line->line_of_constant_y());
  const auto y_line = accept_second_corner(1, 2, 4, 2 + 5e-11);
  ASSERT_TRUE(y_line);
  EXPECT_EQ(y_line->yru, 2.0);
  EXPECT_TRUE(y_line->line_of_constant_y());
  const auto narrow = accept_second_corner(1, 2, 1 + 2e-10, 5);
  ASSERT_TRUE(narrow);
  EXPECT_EQ(narrow->xru, 1 + 2e-10);
  EXPECT_FALSE(narrow->line_of_constant_x());
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
    const auto at = [&](int n) { return arrays->material.c[along_x ? model->grid.node(n, 1) : model->grid.node(1, n)]; };
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
    auto model = make_model(kProblemE, lines(0, 0.02, 25, 1.08), lines(0, 0.05, 11, 0.9));
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
    const double expected = layered ? width * s.series_flux_density(true, 3, 23, 100.0)
                                    : kEps0 * 4.0 * 100.0 * width / (g.x[23] - g.x[3]);
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
    auto model = make_model(kProblemS, lines(0, 0.004, 9, 1.2), lines(0, 0.1, 41, 1.05));
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
    const double expected = layered ? width * s.series_flux_density(false, 2, 40, 10.0)
                                    : 5.8E7 * 10.0 * width / (g.y[40] - g.y[2]);
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
  auto model = make_model(kProblemM, x, x);
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
