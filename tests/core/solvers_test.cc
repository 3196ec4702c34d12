#include "core/solvers.h"

#include <gtest/gtest.h>

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
    std::vector<int> largest;  // the node of each sweep's largest change, -1 where that is not 100 %
    const SolveResult r = solve(*model, *arrays, settings_with(c.ints(1)[0], c.number(2), 1e-6), [&](const auto& s) {
      largest.push_back(s.e_max == 1.0 ? model->grid.node(s.i, s.j) : -1);
    });
    EXPECT_EQ((std::vector<int>{r.ready, r.k_max}), (std::vector<int>{false, largest.back()})) << c.where;
    EXPECT_EQ(largest, c.ints(5)) << c.where;
    const std::vector<double> u = potential_of(*model, *arrays), want = c.numbers(3);
    ASSERT_EQ(u.size(), want.size()) << c.where;
    for (size_t n = 0; n < u.size(); ++n) EXPECT_NEAR(u[n], want[n], c.number(4)) << c.where << " node " << n + 1;
  }
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

// A monitor that lowers the iteration limit ends the run there (what the
// dialogue does on Ctrl-C): exactly as a run given that limit, same iterate,
// same result.
TEST_P(EverySolver, LoweringTheLimitInTheMonitorEndsTheRunAsTheLimitWould) {
  auto model = mixed_model(FieldProblem::kCurrentFlow);
  SolverSettings settings = settings_with(5000, kOmegaDefault, 1e-14);
  auto stopped = assembled(*model), limited = assembled(*model);
  int reports = 0;
  const SolveResult result = solver_info(GetParam()).solve(*model, *stopped, settings, [&](const IterationReport&) {
    if (++reports == 3) settings.iteration_limit = 3;
  });
  const SolveResult expected = run(*model, *limited, settings);
  EXPECT_EQ((std::vector<double>{double(reports), double(result.iterations), double(result.ready), result.e_max}),
            (std::vector<double>{3, 3, 0, expected.e_max}));
  EXPECT_EQ(potential_of(*model, *stopped), potential_of(*model, *limited));
}

}  // namespace
}  // namespace tambri
