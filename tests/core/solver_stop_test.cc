// A monitor that lowers the iteration limit ends the run there (what the
// dialogue does on Ctrl-C): exactly as a run given that limit, same iterate,
// same result.
#include <gtest/gtest.h>

#include "core/solvers.h"
#include "support/solve_fixture.h"

namespace tambri {

TEST(SolverStop, LoweringTheLimitInTheMonitorEndsEachSolverAsTheLimitWould) {
  auto model = test::mixed_model(FieldProblem::kCurrentFlow);
  for (int solver = kSolverIluBicg; solver <= kSolverSor; ++solver) {
    SCOPED_TRACE(solver_info(solver).name);
    SolverSettings settings;
    settings.relative_error = 1e-14;
    auto stopped = test::assembled(*model);
    int reports = 0;
    const SolveResult result = solver_info(solver).solve(*model, *stopped, settings, [&](const IterationReport&) {
      if (++reports == 3) settings.iteration_limit = 3;
    });
    auto limited = test::assembled(*model);
    const SolveResult expected = solver_info(solver).solve(*model, *limited, settings, {});
    EXPECT_EQ(reports, 3);
    EXPECT_EQ(result.iterations, 3);
    EXPECT_FALSE(result.ready);
    EXPECT_EQ(result.e_max, expected.e_max);
    EXPECT_EQ(test::potential_of(*model, *stopped), test::potential_of(*model, *limited));
  }
}

}  // namespace tambri
