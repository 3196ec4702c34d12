// A monitor that lowers the iteration limit ends a run there: what the
// dialogue does on Ctrl-C. The run must end exactly as a run given that limit
// (same iterate, same result).
#include <gtest/gtest.h>

#include "core/solvers.h"
#include "support/solve_fixture.h"

namespace tambri {
namespace {

using test::assembled;
using test::mixed_model;
using test::potential_of;

TEST(SolverStop, LoweringTheLimitInTheMonitorEndsEachSolverAsTheLimitWould) {
  constexpr int kStopAt = 3;
  auto model = mixed_model(kProblemS);
  for (int solver = kSolverIluBicg; solver <= kSolverSor; ++solver) {
    SCOPED_TRACE(solver_info(solver).name);
    SolverSettings stopped;
    stopped.relative_error = 1e-14;
    stopped.iteration_limit = 1000;
    auto arrays = assembled(*model);
    int reports = 0;
    const SolveResult result = solver_info(solver).solve(*model, *arrays, stopped, [&](const IterationReport& r) {
      ++reports;
      if (r.iteration == kStopAt) stopped.iteration_limit = kStopAt;
    });

    SolverSettings limited = stopped;
    limited.iteration_limit = kStopAt;
    auto reference = assembled(*model);
    const SolveResult expected = solver_info(solver).solve(*model, *reference, limited, {});

    EXPECT_EQ(reports, kStopAt);
    EXPECT_EQ(result.iterations, kStopAt);
    EXPECT_FALSE(result.ready);
    EXPECT_EQ(result.e_max, expected.e_max);
    EXPECT_EQ(potential_of(*model, *arrays), potential_of(*model, *reference));

  }
}

}  // namespace
}  // namespace tambri
