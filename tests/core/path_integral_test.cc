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

// X = 0 1 3 4 8 with box widths a = 0.5 1.5 1.5 2.5 2; Y = 0 2 3 7 with
// b = 1 1.5 2.5 2. Qx(i, j) = 10 i + j and Qy(i, j) = 1000 i + 100 j, so that
// every term of a side sum is told apart by its digits.
struct HandGrid {
  std::unique_ptr<StructureModel> model = make_model(kProblemE, {0, 1, 3, 4, 8}, {0, 2, 3, 7});
  std::unique_ptr<DerivedFields> d = std::make_unique<DerivedFields>();
  const Grid& g = model->grid;
  HandGrid() {
    for (int j = 1; j <= g.ny; ++j) {
      for (int i = 1; i <= g.nx; ++i) {
        d->flux_x[g.node(i, j)] = 10 * i + j;
        d->flux_y[g.node(i, j)] = 1000 * i + 100 * j;
      }
    }
  }
  PathIntegral at(double xlo, double ylo, double xru, double yru) const {
    return integrate_path(g, *d, xlo, ylo, xru, yru);
  }
};

void expect_sides(const PathIntegral& p, std::vector<double> used, std::vector<int> lines) {
  EXPECT_EQ((std::vector<double>{p.xa, p.ya, p.xb, p.yb}), used);
  EXPECT_EQ((std::vector<int>{p.ia, p.ja, p.ib, p.jb, p.il, p.ir, p.jl, p.jr}), lines);
}

TEST(PathIntegral, RectangleOnOrBetweenGridLinesSumsAllFourSides) {
  HandGrid h;
  // y sides j = 2, 3 over i = 2..4: -(1.5*2200 + 1.5*3200 + 2.5*4200) +
  // (1.5*2300 + 1.5*3300 + 2.5*4300) = 550; x sides i = 2, 4 over j = 2..3:
  // -(1.5*22 + 2.5*23) + (1.5*42 + 2.5*43) = 80.
  const PathIntegral on = h.at(1, 2, 4, 3);
  EXPECT_EQ(on.flux, 630.0);
  expect_sides(on, {1, 2, 4, 3}, {2, 2, 4, 3, 2, 4, 2, 3});
  // Corners between lines move down to the lines at or below them.
  const PathIntegral between = h.at(1.5, 2.5, 4.5, 3.5);
  EXPECT_EQ(between.flux, 630.0);
  expect_sides(between, {1, 2, 4, 3}, {2, 2, 4, 3, 2, 4, 2, 3});
  // A corner on the first line is inside: its side at x = 0 counts,
  // -(1.5*12 + 2.5*13), and the y sides reach over i = 1..4.
  const PathIntegral first = h.at(0, 2, 4, 3);
  EXPECT_EQ(first.flux, 600.0 - 50.5 + 170.5);
  expect_sides(first, {0, 2, 4, 3}, {1, 2, 4, 3, 1, 4, 2, 3});
}

TEST(PathIntegral, LinesIncludeTheirEndBoxes) {
  HandGrid h;
  // x = 3 from y = 0 to 7: flux in +x, 1*31 + 1.5*32 + 2.5*33 + 2*34 = 229.5,
  // and the end boxes -1.5*3100 + 1.5*3400 = 450.
  const PathIntegral x_line = h.at(3, 0, 3, 7);
  EXPECT_EQ(x_line.flux, 679.5);
  expect_sides(x_line, {3, 0, 3, 7}, {3, 1, 3, 4, 3, 3, 1, 4});
  // y = 3 from x = 1 to 8: 1.5*2300 + 1.5*3300 + 2.5*4300 + 2*5300 = 29750,
  // and the end boxes -2.5*23 + 2.5*53 = 75.
  EXPECT_EQ(h.at(1, 3, 8, 3).flux, 29825.0);
}

TEST(PathIntegral, SidesOutsideTheGridContributeNothing) {
  HandGrid h;
  // Beyond the last x line: no side at xb; y sides now over i = 2..5,
  // -29000 + 29750, and the side at x = 1, -90.5.
  const PathIntegral right = h.at(1, 2, 9, 3);
  EXPECT_EQ(right.flux, 659.5);
  expect_sides(right, {1, 2, 9, 3}, {2, 2, 6, 3, 2, 5, 2, 3});
  // Before the first lines: only the sides at x = 3 and y = 3, from the
  // first nodes on: 0.5*1300 + 1.5*2300 + 1.5*3300 + 1*31 + 1.5*32 + 2.5*33.
  const PathIntegral left = h.at(-1, -1, 3, 3);
  EXPECT_EQ(left.flux, 9211.5);
  expect_sides(left, {-1, -1, 3, 3}, {0, 0, 3, 3, 1, 3, 1, 3});
  // Around the whole grid: no side at all.
  const PathIntegral all = h.at(-1, -1, 9, 9);
  EXPECT_EQ(all.flux, 0.0);
  expect_sides(all, {-1, -1, 9, 9}, {0, 0, 6, 5, 1, 5, 1, 4});
  // Wholly before the first x line: no line lies below the second corner,
  // so the rectangle is taken up to line 1.
  expect_sides(h.at(-2, 2, -1, 3), {-2, 2, 0, 3}, {0, 2, 1, 3, 1, 1, 2, 3});
}

TEST(PathIntegral, CornerChecks) {
  const auto model = make_model(kProblemE, {0, 1, 3, 4, 8}, {0, 2, 3, 7});
  const Grid& g = model->grid;
  const double inf = std::numeric_limits<double>::infinity();
  EXPECT_FALSE(first_corner_outside(g, 8, 7));  // on the last lines
  EXPECT_FALSE(first_corner_outside(g, -100, -100));
  EXPECT_TRUE(first_corner_outside(g, std::nextafter(8.0, inf), 0));
  EXPECT_TRUE(first_corner_outside(g, 0, 7.5));
  EXPECT_TRUE(first_corner_outside(g, std::nan(""), 0));
  EXPECT_TRUE(first_corner_outside(g, 0, -inf));

  EXPECT_FALSE(accept_second_corner(1, 2, 0.5, 3));  // left of the first
  EXPECT_FALSE(accept_second_corner(1, 2, 4, 1.5));  // above it
  EXPECT_FALSE(accept_second_corner(1, 2, 1 - 5e-11, 5));  // left, though within 1.0E-10
  EXPECT_FALSE(accept_second_corner(1, 2, 1, 2));  // the same point
  EXPECT_FALSE(accept_second_corner(1, 2, 1 + 5e-11, 2 + 5e-11));
  EXPECT_FALSE(accept_second_corner(1, 2, std::nan(""), 5));
  EXPECT_FALSE(accept_second_corner(1, 2, 4, inf));

  const auto x_line = accept_second_corner(1, 2, 1 + 5e-11, 5);
  ASSERT_TRUE(x_line);
  EXPECT_EQ(x_line->xru, 1.0);
  EXPECT_TRUE(x_line->line_of_constant_x());
  EXPECT_FALSE(x_line->line_of_constant_y());
  const auto y_line = accept_second_corner(1, 2, 4, 2 + 5e-11);
  ASSERT_TRUE(y_line);
  EXPECT_EQ(y_line->yru, 2.0);
  EXPECT_TRUE(y_line->line_of_constant_y());
  const auto narrow = accept_second_corner(1, 2, 1 + 2e-10, 5);
  ASSERT_TRUE(narrow);
  EXPECT_EQ(narrow->xru, 1 + 2e-10);
  EXPECT_FALSE(narrow->line_of_constant_x());
}

// ---------------------------------------------------------------------------
// Solved problems: the path integral of the computed field against the
// physics it stands for.

struct Solved {
  std::unique_ptr<StructureModel> model;
  std::unique_ptr<FieldArrays> arrays;

  explicit Solved(std::unique_ptr<StructureModel> m, double relative_error = 1e-13)
      : model(std::move(m)) {
    arrays = test::assembled(*model);
    SolverSettings settings;
    settings.iteration_limit = 5000;
    settings.relative_error = relative_error;
    ready = solve_ilu_bicg(*model, *arrays, settings, {}).ready;
    compute_derived_fields(*model, arrays->material, arrays->solution, arrays->derived);
  }
  double flux(double xlo, double ylo, double xru, double yru) const {
    return integrate_path(model->grid, arrays->derived, xlo, ylo, xru, yru).flux;
  }
  double c(int i, int j) const { return arrays->material.c[model->grid.node(i, j)]; }
  bool ready = false;
};

// The discrete value of U / (sum of h / c) over the links from line `from`
// to line `to`: each link carries the mean coefficient of its two nodes, so
// this is the flux density of a layered (series) region between two
// electrodes, exact for the five-point system.
template <class CoefficientAt>
double series_flux_density(const std::array<double, kMaxLines + 1>& c, int from, int to, double u,
                           CoefficientAt coefficient) {
  double resistance = 0.0;
  for (int n = from; n < to; ++n) {
    resistance += (c[n + 1] - c[n]) / ((coefficient(n) + coefficient(n + 1)) / 2);
  }
  return u / resistance;
}

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
    const double expected =
        layered ? width * series_flux_density(g.x, 3, 23, 100.0, [&](int i) { return s.c(i, 1); })
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
    const double expected =
        layered ? width * series_flux_density(g.y, 2, 40, 10.0, [&](int j) { return s.c(1, j); })
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
      if (r <= 0.004) {
        model->occupancy[g.node(i, j)] = 100;
        current += sz * box_width(g.x, i, g.nx) * box_width(g.y, j, g.ny);
      } else if (r >= 0.05) {
        model->occupancy[g.node(i, j)] = 10;
      }
    }
  }
  const Solved s(std::move(model), 1e-10);  // far below the discretisation error
  EXPECT_TRUE(s.ready) << n;
  const int j1 = centre + static_cast<int>(std::lround(0.0125 / h));
  const int j2 = centre + static_cast<int>(std::lround(0.03 / h));
  const double r1 = g.y[j1] - h / 2, r2 = g.y[j2] + h / 2;
  const double expected = -kMu0 * current / (2 * std::numbers::pi) * std::log(r2 / r1);
  const double flux = s.flux(0.0, g.y[j1], 0.0, g.y[j2]);
  return std::fabs(flux - expected) / std::fabs(expected);
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
