#include "core/solvers.h"

#include <gtest/gtest.h>

#include <numeric>

#include "core/ilu.h"
#include "support/solve_fixture.h"
#include "support/text_cases.h"

namespace tambri {
namespace {

using test::assembled;
using test::dense_solve;
using test::dense_system;
using test::lines;
using test::make_model;
using test::mixed_model;
using test::potential_of;
using test::set_block;

SolverSettings settings_with(int limit, double omega, double relative_error) {
  SolverSettings s;
  s.iteration_limit = limit;
  s.omega = omega;
  s.relative_error = relative_error;
  return s;
}

// 3 x 2 nodes, spacing 1, conductivity 1, so that every coefficient is a
// simple fraction; node 1 fixed at 4 V, node 6 at 0 V.
//   k:  1 (1,1)  2 (2,1)  3 (3,1)  4 (1,2)  5 (2,2)  6 (3,2)
std::unique_ptr<StructureModel> tiny_model() {
  auto model = make_model(FieldProblem::kCurrentFlow, {0, 1, 2}, {0, 1});
  model->tables.potential[1] = 4.0;
  set_block(*model, 1, 1, 1, 1, 10);
  set_block(*model, 3, 3, 2, 2, 20);
  return model;
}

TEST(SolverByHand, SweepsOfTheTable) {
  for (const test::CaseRow& c : test::read_cases("tests/core/data/solver_by_hand.txt")) {
    auto model = tiny_model();
    auto arrays = assembled(*model);
    const auto solve = c.words(0)[0] == "SOR" ? solve_sor : solve_slor;
    solve(*model, *arrays, settings_with(c.ints(1)[0], c.number(2), 1e-6), {});
    const std::vector<double> u = potential_of(*model, *arrays), want = c.numbers(3);
    ASSERT_EQ(u.size(), want.size()) << c.where;
    for (size_t n = 0; n < u.size(); ++n) EXPECT_NEAR(u[n], want[n], c.number(4)) << c.where << " node " << n + 1;
  }
  // Two SOR sweeps with omega 1: several nodes change by 100 %; the first one
  // counts. One SLOR sweep reports its largest change at node 2.
  auto model = tiny_model();
  auto arrays = assembled(*model);
  std::vector<IterationReport> reports;
  EXPECT_FALSE(solve_sor(*model, *arrays, settings_with(2, 1.0, 1e-6), [&](const IterationReport& r) {
                 reports.push_back(r);
               }).ready);
  ASSERT_EQ(reports.size(), 2u);
  EXPECT_EQ(
      (std::vector<double>{reports[0].e_max, 10.0 * reports[0].i + reports[0].j, 10.0 * reports[1].i + reports[1].j}),
      (std::vector<double>{1, 21, 31}));
  arrays = assembled(*model);
  EXPECT_EQ(solve_slor(*model, *arrays, settings_with(1, 1.0, 1e-6), {}).k_max, 2);
}

class EverySolver : public testing::TestWithParam<int> {
 protected:
  SolveResult run(const StructureModel& model, FieldArrays& arrays, const SolverSettings& s) {
    return solver_info(GetParam()).solve(model, arrays, s, {});
  }
  bool krylov() const { return GetParam() <= kSolverIluCg; }
};

INSTANTIATE_TEST_SUITE_P(Solvers, EverySolver, testing::Values(kSolverIluBicg, kSolverIluCg, kSolverSlor, kSolverSor),
                         [](const auto& info) {
                           std::string name = solver_info(info.param).name;
                           std::erase(name, '-');
                           return name;
                         });

TEST_P(EverySolver, ConvergesToTheDirectSolutionOfTheSameSystem) {
  for (FieldProblem problem : {FieldProblem::kElectrostatic, FieldProblem::kMagnetostatic}) {
    auto model = mixed_model(problem);
    auto arrays = assembled(*model);
    const std::vector<double> direct = dense_solve(dense_system(model->grid, arrays->matrix));
    ASSERT_TRUE(run(*model, *arrays, settings_with(5000, 1.6, 1e-13)).ready) << traits_of(problem).letter;
    const std::vector<double> u = potential_of(*model, *arrays);
    for (size_t n = 0; n < u.size(); ++n) ASSERT_NEAR(u[n], direct[n], 1e-7) << n;
    // Continuing from the solution (W): the relaxation solvers stop after one
    // sweep, the Krylov solvers never stop in their first iteration.
    const SolveResult again = run(*model, *arrays, settings_with(5000, 1.6, 1e-6));
    EXPECT_EQ(again.iterations, krylov() ? 2 : 1);
  }
}

// Fixed potentials on two opposite borders, natural borders on the other two:
// the potential is exactly linear, parallel plates (E) and a conducting strip
// (S) alike.
TEST_P(EverySolver, OppositeElectrodesGiveTheExactLinearPotential) {
  auto plates = make_model(FieldProblem::kElectrostatic, lines(0, 0.01, 12, 1.3), lines(0, 0.05, 9, 0.8));
  plates->tables.material0 = 3.0 / kEps0;  // coefficients near 1, see mixed_model
  set_block(*plates, 1, 1, 1, 9, 10);
  set_block(*plates, 12, 12, 1, 9, 20);
  auto strip = make_model(FieldProblem::kCurrentFlow, lines(0, 0.02, 5), lines(0, 0.1, 23, 1.1));
  strip->tables.material0 = 5.8E7;
  set_block(*strip, 1, 5, 1, 1, 10);
  set_block(*strip, 1, 5, 23, 23, 20);
  for (StructureModel* model : {plates.get(), strip.get()}) {
    model->tables.potential[1] = 100.0;
    auto arrays = assembled(*model);
    ASSERT_TRUE(run(*model, *arrays, settings_with(5000, 1.5, 1e-12)).ready);
    const Grid& g = model->grid;
    for (int k = 1; k <= g.nodes(); ++k) {
      const double t = model == strip.get() ? g.y[(k - 1) / g.nx + 1] / g.y[g.ny] : g.x[(k - 1) % g.nx + 1] / g.x[g.nx];
      ASSERT_NEAR(arrays->solution.potential[k], 100.0 * (1 - t), 1e-8) << k;
    }
  }
}

TEST_P(EverySolver, IterationLimitsOfZeroAndOne) {
  auto model = mixed_model(FieldProblem::kElectrostatic);
  auto arrays = assembled(*model);
  const std::vector<double> start = potential_of(*model, *arrays);
  const SolveResult none = run(*model, *arrays, settings_with(0, 1.6, 1e-6));
  EXPECT_EQ((std::vector<double>{double(none.ready), double(none.iterations), none.e_max}),
            (std::vector<double>{0, 0, 0}));
  EXPECT_EQ(potential_of(*model, *arrays), start);
  const SolveResult one = run(*model, *arrays, settings_with(1, 1.6, 1.0));
  EXPECT_EQ(one.ready, !krylov());  // e <= 1 always; Krylov never ready at once
  EXPECT_EQ(one.iterations, 1);
}

TEST_P(EverySolver, SingularSystemWithoutSourcesStaysFiniteAtZero) {
  auto model = make_model(FieldProblem::kCurrentFlow, lines(0, 1, 6), lines(0, 1, 5));  // no fixed node
  auto arrays = assembled(*model);
  EXPECT_TRUE(run(*model, *arrays, settings_with(50, 1.6, 1e-6)).ready);
  for (double v : potential_of(*model, *arrays)) EXPECT_EQ(v, 0.0);
}

// A vector potential below 1E-6 Vs/m: a correction measured against
// |Vz| + 0.1 meets the default bound long before the field is there (ILU-BICG
// once stopped with errors of 27 %), and the run must go on until the fluxes
// balance to 1E-3, which leaves errors of that order.
TEST_P(EverySolver, WeakMagneticSourceIsSolvedWithTheDefaultBound) {
  auto model = mixed_model(FieldProblem::kMagnetostatic);
  model->tables.potential[1] = model->tables.potential[4] = 0.0;
  model->tables.excitation[1] = 2.0E4;
  auto arrays = assembled(*model);
  const std::vector<double> direct = dense_solve(dense_system(model->grid, arrays->matrix));
  double scale = 0.0;
  for (double v : direct) scale = std::max(scale, std::fabs(v));
  ASSERT_TRUE(run(*model, *arrays, settings_with(5000, kOmegaDefault, kRelativeErrorDefault)).ready);
  const std::vector<double> u = potential_of(*model, *arrays);
  for (size_t n = 0; n < u.size(); ++n) ASSERT_NEAR(u[n], direct[n], 2E-3 * scale) << n;
}

// Where the field is solved once the correction meets the bound, the run ends
// there: the flux balance adds no iteration to it. The third structure has
// both electrodes at 100 V and no sources: its field is constant and carries
// no flux, so there is nothing to balance against.
TEST_P(EverySolver, SolvedFieldEndsAtTheFirstSmallCorrection) {
  for (const auto& [problem, both_at_100] : {std::pair{FieldProblem::kElectrostatic, false},
                                             {FieldProblem::kCurrentFlow, false},
                                             {FieldProblem::kCurrentFlow, true}}) {
    auto model = mixed_model(problem);
    if (both_at_100) model->tables.potential[4] = 100.0;
    auto arrays = assembled(*model);
    const SolverSettings s = settings_with(5000, kOmegaDefault, kRelativeErrorDefault);
    int first = 0;
    const SolveResult result = solver_info(GetParam()).solve(*model, *arrays, s, [&](const IterationReport& r) {
      if (first == 0 && r.e_max <= s.relative_error && (!krylov() || r.iteration > 1)) first = r.iteration;
    });
    EXPECT_TRUE(result.ready) << traits_of(problem).letter << both_at_100;
    EXPECT_EQ(result.iterations, first) << traits_of(problem).letter << both_at_100;
  }
}

// The first Krylov iterations followed step by step with dense matrices; the
// D-ILU preconditioner M = (D + L) D^-1 (D + U) with diag(M) = diag(A).
struct DenseKrylov {
  DenseKrylov(const Grid& g, const StencilMatrix& m) : a(dense_system(g, m)), n(a.n) {
    std::vector<double> d(static_cast<size_t>(n));
    for (int r = 0; r < n; ++r) {
      d[r] = a.at(r, r);
      if (r >= 1) d[r] -= a.at(r, r - 1) * a.at(r - 1, r) / d[r - 1];
      if (r >= g.nx) d[r] -= a.at(r, r - g.nx) * a.at(r - g.nx, r) / d[r - g.nx];
    }
    m_ = test::Dense{n, std::vector<double>(static_cast<size_t>(n * n)), {}};
    for (int r = 0; r < n; ++r) {
      for (int c = 0; c < n; ++c) {
        for (int q = 0; q <= std::min(r, c); ++q) {
          m_.at(r, c) += (q == r ? d[q] : a.at(r, q)) * (q == c ? d[q] : a.at(q, c)) / d[q];
        }
      }
    }
  }
  std::vector<double> times_a(const std::vector<double>& x) {
    std::vector<double> y(x.size());
    for (int r = 0; r < n; ++r) {
      for (int c = 0; c < n; ++c) y[r] += a.at(r, c) * x[c];
    }
    return y;
  }
  std::vector<double> solve_m(const std::vector<double>& r) {
    test::Dense s = m_;
    s.b = r;
    return dense_solve(s);
  }
  test::Dense a;
  int n;
  test::Dense m_;
};

double dot(const std::vector<double>& x, const std::vector<double>& y) {
  return std::inner_product(x.begin(), x.end(), y.begin(), 0.0);
}

// y + alpha x
std::vector<double> axpy(double alpha, const std::vector<double>& x, std::vector<double> y) {
  for (size_t n = 0; n < x.size(); ++n) y[n] += alpha * x[n];
  return y;
}

TEST(SolverByHand, FirstKrylovIterationsFollowTheirRecurrences) {
  auto model = mixed_model(FieldProblem::kElectrostatic);
  set_block(*model, 2, 17, 1, 1, 0);  // the first row free but for node 1, so that its pivots count
  DenseKrylov dense(model->grid, assembled(*model)->matrix);
  const std::vector<double> u0 = potential_of(*model, *assembled(*model));
  const std::vector<double> residual = axpy(-1.0, dense.times_a(u0), dense.a.b);

  // ILU-CG: p = M^-1 r, alpha = (r, p) / (A p, p).
  const std::vector<double> p = dense.solve_m(residual);
  const std::vector<double> cg = axpy(dot(residual, p) / dot(dense.times_a(p), p), p, u0);
  // ILU-BICG: r = p = M^-1 (b - A u), v = M^-1 A p, s = r - alpha v, t = M^-1 A s.
  const std::vector<double> v = dense.solve_m(dense.times_a(p));
  const double alpha = dot(p, p) / dot(v, p);
  const std::vector<double> s = axpy(-alpha, v, p);
  const std::vector<double> t = dense.solve_m(dense.times_a(s));
  const std::vector<double> bicg = axpy(dot(t, s) / dot(t, t), s, axpy(alpha, p, u0));

  for (int solver : {kSolverIluCg, kSolverIluBicg}) {
    auto arrays = assembled(*model);
    EXPECT_FALSE(solver_info(solver).solve(*model, *arrays, settings_with(1, 1.0, 1.0), {}).ready);
    const std::vector<double>& expected = solver == kSolverIluCg ? cg : bicg;
    const std::vector<double> u = potential_of(*model, *arrays);
    for (size_t n = 0; n < u.size(); ++n) ASSERT_NEAR(u[n], expected[n], 1e-7) << solver << " " << n;
  }
}

}  // namespace
}  // namespace tambri
