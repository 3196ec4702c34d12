#include "core/path_integral.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
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

// Plates (E) on x lines 1..3 at 100 V and 23..25 at 0 V across the whole
// width, and a strip (S) 4 mm wide between electrodes on y lines 1..2 at 10 V
// and 40..41 at 0 V; the borders along the flow are natural, so the field has
// no fringe. Uniform or with a layer of another material in series, every line
// between the electrodes, those next to a change of material included, carries
// the width times U / (sum of h / c): exact for the five-point system, so only
// rounding and the solver's stopping rule are left (measured below 1E-14 for
// the plates; the strip's conductivity step of 58 leaves about 1E-10).
TEST(PathIntegralPhysics, PlatesAndStripCarryTheSeriesFluxThroughEveryLineBetweenTheElectrodes) {
  for (bool strip : {false, true}) {
    for (bool layered : {false, true}) {
      auto model = strip ? make_model(FieldProblem::kCurrentFlow, lines(0, 0.004, 9, 1.2), lines(0, 0.1, 41, 1.05))
                         : make_model(FieldProblem::kElectrostatic, lines(0, 0.02, 25, 1.08), lines(0, 0.05, 11, 0.9));
      const double u = strip ? 10.0 : 100.0;
      model->tables.material0 = strip ? 5.8E7 : 4.0;
      model->tables.material[1] = strip ? 1.0E6 : 9.0;
      model->tables.potential[1] = u;
      const Grid& g = model->grid;
      const GridLines &along = strip ? g.y : g.x, &side = strip ? g.x : g.y;
      const int lines_along = strip ? g.ny : g.nx, lines_across = strip ? g.nx : g.ny, e1 = strip ? 2 : 3,
                e2 = strip ? 40 : 23;
      // Lines from..to along the flow, all lines across it.
      const auto band = [&](int from, int to, int32_t code) {
        if (strip) set_block(*model, 1, lines_across, from, to, code);
        else set_block(*model, from, to, 1, lines_across, code);
      };
      band(1, e1, 10);
      band(e2, lines_along, 20);
      if (layered) strip ? band(15, 25, 1) : band(12, 17, 1);
      const Solved s(std::move(model));
      ASSERT_TRUE(s.ready);
      const double expected = (side[lines_across] - side[1]) * s.series_flux_density(!strip, e1, e2, u);
      for (int n = e1 + 1; n < e2; ++n) {
        // Around the first electrode, from beyond the borders to line n.
        EXPECT_NEAR(strip ? s.flux(-1, -1, 1, along[n]) : s.flux(-1, -1, along[n], 1), expected,
                    (strip ? 1e-9 : 1e-12) * expected)
            << strip << layered << " " << n;
      }
      // What flows into a rectangle inside the strip flows out again.
      if (strip) {
        EXPECT_NEAR(s.flux(g.x[3], g.y[5], g.x[7], g.y[30]), 0.0, 1e-9 * expected) << layered;
      }
    }
  }
}

}  // namespace
}  // namespace tambri
