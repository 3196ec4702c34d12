#include "solve/solvers.h"

#include <gtest/gtest.h>

#include <cmath>

#include "solve/ilu.h"
#include "solve_fixture.h"

namespace tambri {
namespace {

using test::assembled;
using test::dense_solve;
using test::dense_system;
using test::DenseSystem;
using test::graded_lines;
using test::make_model;
using test::set_block;
using test::set_code;
using test::uniform_lines;

SolverSettings settings_with(int limit, double omega, double relative_error) {
  SolverSettings s;
  s.iteration_limit = limit;
  s.omega = omega;
  s.relative_error = relative_error;
  return s;
}

// 3 x 2 nodes, spacing 1, conductivity 1 (so every coefficient is a simple
// fraction); node 1 fixed at 4 V, node 6 at 0 V.
//   k:  1 (1,1)  2 (2,1)  3 (3,1)  4 (1,2)  5 (2,2)  6 (3,2)
std::unique_ptr<StructureModel> tiny_model() {
  auto model = make_model(kProblemS, {0, 1, 2}, {0, 1});
  model->tables.potential[1] = 4.0;
  model->tables.potential[2] = 0.0;
  set_code(*model, 1, 1, 10);
  set_code(*model, 3, 2, 20);
  return model;
}

std::vector<double> potential_of(const StructureModel& model, const FieldArrays& arrays) {
  return {arrays.solution.potential.begin() + 1,
          arrays.solution.potential.begin() + 1 + model.grid.nodes()};
}

TEST(SorByHand, OmegaOneIsGaussSeidelInOddEvenOrder) {
  auto model = tiny_model();
  auto arrays = assembled(*model);
  std::vector<IterationReport> reports;
  const SolveResult result = solve_sor(*model, *arrays, settings_with(2, 1.0, 1e-6),
                                       [&](const IterationReport& r) { reports.push_back(r); });
  // Sweep 1: odd nodes 3, 5 see only zeros; node 2 = 4*0.5/2 = 1, node 4 = 4*0.5/1 = 2.
  // Sweep 2: node 3 = 0.5*1/1, node 5 = (1*1 + 0.5*2)/2, node 2 = (2 + 0.25 + 1)/2,
  // node 4 = (2 + 0.5*1)/1.
  EXPECT_EQ(potential_of(*model, *arrays), (std::vector<double>{4, 1.625, 0.5, 2.5, 1, 0}));
  ASSERT_EQ(reports.size(), 2u);
  // Both sweeps change several nodes by 100 %; the first of them wins.
  EXPECT_EQ(reports[0].e_max, 1.0);
  EXPECT_EQ(reports[0].i, 2);
  EXPECT_EQ(reports[0].j, 1);
  EXPECT_EQ(reports[1].i, 3);
  EXPECT_EQ(reports[1].j, 1);
  EXPECT_FALSE(result.ready);
  EXPECT_EQ(result.iterations, 2);
  EXPECT_EQ(result.k_max, 3);
}

TEST(SorByHand, OverRelaxationScalesTheGaussSeidelStep) {
  auto model = tiny_model();
  auto arrays = assembled(*model);
  solve_sor(*model, *arrays, settings_with(1, 1.5, 1e-6), {});
  EXPECT_EQ(potential_of(*model, *arrays), (std::vector<double>{4, 1.5, 0, 3, 0, 0}));
}

TEST(SlorByHand, OmegaOneSolvesEachRowWithTheRowsBesideIt) {
  auto model = tiny_model();
  auto arrays = assembled(*model);
  const SolveResult result = solve_slor(*model, *arrays, settings_with(1, 1.0, 1e-6), {});
  // Row 1: [1 0 0; .5 -2 .5; 0 .5 -1] w = [4 0 0] -> w = 4, 8/7, 4/7.
  // Row 2: [-1 .5 0; .5 -2 .5; 0 0 1] w = [-2, -8/7, 0] -> w = 128/49, 60/49, 0.
  const std::vector<double> expected{4, 8.0 / 7, 4.0 / 7, 128.0 / 49, 60.0 / 49, 0};
  const std::vector<double> u = potential_of(*model, *arrays);
  for (size_t n = 0; n < u.size(); ++n) EXPECT_NEAR(u[n], expected[n], 1e-15) << n;
  EXPECT_EQ(result.k_max, 2);
  EXPECT_EQ(result.e_max, 1.0);
}

// A field problem of a few hundred nodes with everything in it: a graded grid,
// two materials, two fixed potentials inside and on the border, a source.
std::unique_ptr<StructureModel> mixed_model(int problem) {
  auto model = make_model(problem, graded_lines(0, 0.02, 17, 1.08), graded_lines(0, 0.03, 15, 0.93));
  // In problem E the relative permittivities are scaled by 1/eps0 to bring the
  // coefficients near 1. With eps0 in them, ILU-CG's (A p, p) falls below the
  // 1.0E-20 division guard once the corrections are small, the guard then
  // shortens the steps, and a tolerance as tight as these tests use is met by
  // the short steps before the potential is that close.
  const double scale = problem == kProblemE ? 1.0 / kEps0 : 1.0;
  model->tables.material0 = 1.0 * scale;
  model->tables.material[2] = 6.0 * scale;
  model->tables.potential[1] = 100.0;
  model->tables.potential[4] = -20.0;
  model->tables.excitation[1] = problem == kProblemM ? 2.0E6 : 3.0E-4;
  set_block(*model, 1, 17, 1, 1, 10);     // one border at potential 1
  set_block(*model, 9, 13, 6, 12, 2);     // dielectric / iron block
  set_block(*model, 4, 5, 9, 10, 40);     // an electrode at potential 4
  set_block(*model, 12, 15, 3, 5, 101);   // a source region over material 1
  return model;
}

class EverySolver : public testing::TestWithParam<int> {
 protected:
  SolveResult run(const StructureModel& model, FieldArrays& arrays, const SolverSettings& s) {
    return solver_info(GetParam()).solve(model, arrays, s, {});
  }
};

INSTANTIATE_TEST_SUITE_P(Solvers, EverySolver,
                         testing::Values(kSolverIluBicg, kSolverIluCg, kSolverSlor, kSolverSor),
                         [](const auto& info) {
                           std::string name = solver_info(info.param).name;
                           std::erase(name, '-');
                           return name;
                         });

TEST_P(EverySolver, ConvergesToTheDirectSolutionOfTheSameSystem) {
  for (int problem : {kProblemE, kProblemM}) {
    auto model = mixed_model(problem);
    auto arrays = assembled(*model);
    const std::vector<double> direct = dense_solve(dense_system(model->grid, arrays->matrix));
    const SolveResult result = run(*model, *arrays, settings_with(5000, 1.6, 1e-13));
    ASSERT_TRUE(result.ready) << "problem " << problem;
    double scale = 0.0;
    for (double v : direct) scale = std::max(scale, std::abs(v));
    const std::vector<double> u = potential_of(*model, *arrays);
    for (size_t n = 0; n < u.size(); ++n) ASSERT_NEAR(u[n], direct[n], 1e-9 * scale) << n;
  }
}

TEST_P(EverySolver, ParallelPlatesGiveTheExactLinearPotential) {
  // Electrodes on the first and last x line, natural borders on the sides.
  auto model = make_model(kProblemE, graded_lines(0, 0.01, 12, 1.3), graded_lines(0, 0.05, 9, 0.8));
  model->tables.material0 = 3.0 / kEps0;  // coefficients near 1, see mixed_model
  model->tables.potential[1] = 100.0;
  set_block(*model, 1, 1, 1, 9, 10);
  set_block(*model, 12, 12, 1, 9, 20);
  auto arrays = assembled(*model);
  ASSERT_TRUE(run(*model, *arrays, settings_with(5000, 1.5, 1e-12)).ready);
  const Grid& g = model->grid;
  for (int j = 1; j <= g.ny; ++j) {
    for (int i = 1; i <= g.nx; ++i) {
      EXPECT_NEAR(arrays->solution.potential[g.node(i, j)], 100.0 * (0.01 - g.x[i]) / 0.01, 1e-8);
    }
  }
}

TEST_P(EverySolver, CurrentFlowStripGivesTheExactLinearPotential) {
  // Contacts on the first and last y line of a copper strip.
  auto model = make_model(kProblemS, uniform_lines(0, 0.02, 5), graded_lines(0, 0.1, 23, 1.1));
  model->tables.material0 = 5.8E7;
  model->tables.potential[1] = 10.0;
  set_block(*model, 1, 5, 1, 1, 10);
  set_block(*model, 1, 5, 23, 23, 20);
  auto arrays = assembled(*model);
  ASSERT_TRUE(run(*model, *arrays, settings_with(5000, 1.5, 1e-12)).ready);
  const Grid& g = model->grid;
  for (int j = 1; j <= g.ny; ++j) {
    for (int i = 1; i <= g.nx; ++i) {
      EXPECT_NEAR(arrays->solution.potential[g.node(i, j)], 10.0 * (0.1 - g.y[j]) / 0.1, 1e-8);
    }
  }
}

TEST_P(EverySolver, SolutionAtTheStartStopsAsEarlyAsTheRuleAllows) {
  auto model = mixed_model(kProblemE);
  auto arrays = assembled(*model);
  ASSERT_TRUE(run(*model, *arrays, settings_with(5000, 1.6, 1e-13)).ready);
  // Continuing (W) from the converged potential: the relaxation solvers stop
  // after one sweep; the Krylov solvers never stop in their first iteration.
  const SolveResult again = run(*model, *arrays, settings_with(5000, 1.6, 1e-6));
  EXPECT_TRUE(again.ready);
  EXPECT_EQ(again.iterations, GetParam() <= kSolverIluCg ? 2 : 1);
}

TEST_P(EverySolver, LimitZeroAbortsAtOnceAndLimitOneAfterOneIteration) {
  auto model = mixed_model(kProblemE);
  auto arrays = assembled(*model);
  const std::vector<double> start = potential_of(*model, *arrays);
  SolveResult result = run(*model, *arrays, settings_with(0, 1.6, 1e-6));
  EXPECT_FALSE(result.ready);
  EXPECT_EQ(result.iterations, 0);
  EXPECT_EQ(result.e_max, 0.0);
  EXPECT_EQ(potential_of(*model, *arrays), start);

  result = run(*model, *arrays, settings_with(1, 1.6, 1e-6));
  EXPECT_FALSE(result.ready);
  EXPECT_EQ(result.iterations, 1);
  EXPECT_GT(result.e_max, 1e-6);
}

TEST_P(EverySolver, SingularSystemWithoutSourcesStaysFiniteAtZero) {
  // No fixed potential anywhere: the matrix is singular, u = 0 is a solution.
  auto model = make_model(kProblemS, uniform_lines(0, 1, 6), uniform_lines(0, 1, 5));
  auto arrays = assembled(*model);
  const SolveResult result = run(*model, *arrays, settings_with(50, 1.6, 1e-6));
  EXPECT_TRUE(result.ready);
  for (double v : potential_of(*model, *arrays)) EXPECT_EQ(v, 0.0);
}

// The first Krylov iteration, followed step by step with dense matrices.
struct DenseIlu {
  explicit DenseIlu(const Grid& g, const StencilMatrix& m) : a(dense_system(g, m)), n(a.n) {
    // D-ILU pivots: the diagonal of (D + L) D^-1 (D + U) equals that of A.
    std::vector<double> d(static_cast<size_t>(n));
    for (int r = 0; r < n; ++r) {
      double pivot = a.at(r, r);
      if (r >= 1) pivot -= a.at(r, r - 1) * a.at(r - 1, r) / d[static_cast<size_t>(r - 1)];
      if (r >= g.nx) pivot -= a.at(r, r - g.nx) * a.at(r - g.nx, r) / d[static_cast<size_t>(r - g.nx)];
      d[static_cast<size_t>(r)] = pivot;
    }
    precond.n = n;
    precond.a.assign(static_cast<size_t>(n * n), 0.0);
    for (int r = 0; r < n; ++r) {
      for (int c = 0; c < n; ++c) {
        // (D + L) D^-1 (D + U) summed over the middle index q.
        double sum = 0.0;
        for (int q = 0; q < n; ++q) {
          const double left = q == r ? d[static_cast<size_t>(q)] : (q < r ? a.at(r, q) : 0.0);
          const double right = q == c ? d[static_cast<size_t>(q)] : (q < c ? a.at(q, c) : 0.0);
          sum += left * right / d[static_cast<size_t>(q)];
        }
        precond.at(r, c) = sum;
      }
    }
  }
  std::vector<double> times_a(const std::vector<double>& x) {
    std::vector<double> y(static_cast<size_t>(n), 0.0);
    for (int r = 0; r < n; ++r) {
      for (int c = 0; c < n; ++c) y[static_cast<size_t>(r)] += a.at(r, c) * x[static_cast<size_t>(c)];
    }
    return y;
  }
  std::vector<double> solve_m(const std::vector<double>& r) {
    DenseSystem s = precond;
    s.b = r;
    return dense_solve(s);
  }
  DenseSystem a;
  int n;
  DenseSystem precond;
};

double dot(const std::vector<double>& x, const std::vector<double>& y) {
  double sum = 0.0;
  for (size_t n = 0; n < x.size(); ++n) sum += x[n] * y[n];
  return sum;
}

std::vector<double> axpy(double alpha, const std::vector<double>& x, const std::vector<double>& y) {
  std::vector<double> out(y);
  for (size_t n = 0; n < x.size(); ++n) out[n] += alpha * x[n];
  return out;
}

TEST(IluBuildingBlocks, PreconditionerAndProductMatchTheDenseMatrices) {
  auto model = mixed_model(kProblemE);
  auto arrays = assembled(*model);
  const int nx = model->grid.nx, ny = model->grid.ny;
  DenseIlu dense(model->grid, arrays->matrix);
  NodeArray& x = arrays->work.vectors[0];
  NodeArray& y = arrays->work.vectors[1];
  std::vector<double> xs;
  for (int k = 1; k <= dense.n; ++k) xs.push_back(x[k] = std::sin(0.7 * k) + 0.1 * k);

  multiply(nx, ny, arrays->matrix, x, y);
  const std::vector<double> ax = dense.times_a(xs);
  for (int k = 1; k <= dense.n; ++k) ASSERT_NEAR(y[k], ax[static_cast<size_t>(k - 1)], 1e-12 * (1 + std::abs(y[k]))) << k;

  factorise(nx, ny, arrays->matrix, arrays->work.factors);
  apply_preconditioner(nx, ny, arrays->work.factors, x, x);  // in place
  const std::vector<double> z = dense.solve_m(xs);
  for (int k = 1; k <= dense.n; ++k) ASSERT_NEAR(x[k], z[static_cast<size_t>(k - 1)], 1e-9 * (1 + std::abs(z[static_cast<size_t>(k - 1)]))) << k;
}

// The preconditioner sweeps several rows at once; every node must still get
// exactly the value of the plain recurrences.
TEST(IluBuildingBlocks, PreconditionerIsBitwiseThePlainRecurrence) {
  auto model = make_model(kProblemE, graded_lines(0, 1, 13, 1.1), graded_lines(0, 1, 11, 0.9));
  set_block(*model, 1, 13, 1, 1, 10);
  set_block(*model, 4, 6, 3, 9, 2);
  auto arrays = assembled(*model);
  const int nx = model->grid.nx, n = model->grid.nodes();
  const IluFactors& f = arrays->work.factors;
  factorise(nx, model->grid.ny, arrays->matrix, arrays->work.factors);
  NodeArray& r = arrays->work.vectors[0];
  NodeArray& z = arrays->work.vectors[1];
  for (int k = 1; k <= n; ++k) r[k] = std::cos(1.7 * k) * 1e-3;
  apply_preconditioner(nx, model->grid.ny, f, r, z);

  std::vector<double> w(static_cast<size_t>(n + 1));
  for (int k = 1; k <= n; ++k) w[k] = r[k] * f.dinv[k];
  for (int k = 2; k <= nx; ++k) w[k] = w[k] - f.oben[k] * w[k - 1];
  for (int k = nx + 1; k <= n; ++k) w[k] = w[k] - f.links[k] * w[k - nx] - f.oben[k] * w[k - 1];
  for (int k = n - 1; k >= n - nx + 1; --k) w[k] = w[k] - f.unten[k] * w[k + 1];
  for (int k = n - nx; k >= 1; --k) w[k] = w[k] - f.rechts[k] * w[k + nx] - f.unten[k] * w[k + 1];
  for (int k = 1; k <= n; ++k) ASSERT_EQ(z[k], w[static_cast<size_t>(k)]) << k;
}

TEST(KrylovByHand, FirstIluCgIterationFollowsTheRecurrence) {
  auto model = mixed_model(kProblemE);
  auto arrays = assembled(*model);
  DenseIlu dense(model->grid, arrays->matrix);
  const std::vector<double> u0 = potential_of(*model, *arrays);
  const std::vector<double> r = axpy(-1.0, dense.times_a(u0), dense.a.b);
  const std::vector<double> p = dense.solve_m(r);
  const double alpha = dot(r, p) / dot(dense.times_a(p), p);
  const std::vector<double> u1 = axpy(alpha, p, u0);

  const SolveResult result = solve_ilu_cg(*model, *arrays, settings_with(1, 1.0, 1.0), {});
  EXPECT_FALSE(result.ready);  // never in the first iteration, whatever the tolerance
  const std::vector<double> u = potential_of(*model, *arrays);
  for (size_t n = 0; n < u.size(); ++n) ASSERT_NEAR(u[n], u1[n], 1e-9 * 100) << n;
}

TEST(KrylovByHand, FirstIluBicgIterationFollowsTheRecurrence) {
  auto model = mixed_model(kProblemE);
  auto arrays = assembled(*model);
  DenseIlu dense(model->grid, arrays->matrix);
  const std::vector<double> u0 = potential_of(*model, *arrays);
  const std::vector<double> r = dense.solve_m(axpy(-1.0, dense.times_a(u0), dense.a.b));
  const std::vector<double>& p = r;  // beta (p - omega v) + r with p = v = 0
  const std::vector<double> v = dense.solve_m(dense.times_a(p));
  const double alpha = dot(r, r) / dot(v, r);
  const std::vector<double> s = axpy(-alpha, v, r);
  const std::vector<double> t = dense.solve_m(dense.times_a(s));
  const double omega = dot(t, s) / dot(t, t);
  const std::vector<double> u1 = axpy(omega, s, axpy(alpha, p, u0));
  double e_max = 0.0;
  for (size_t n = 0; n < u1.size(); ++n) {
    e_max = std::max(e_max, std::abs(u1[n] - u0[n]) / (std::abs(u1[n]) + 0.10000000149011612));
  }

  const SolveResult result = solve_ilu_bicg(*model, *arrays, settings_with(1, 1.0, 1.0), {});
  EXPECT_FALSE(result.ready);
  EXPECT_NEAR(result.e_max, e_max, 1e-9 * e_max);
  const std::vector<double> u = potential_of(*model, *arrays);
  for (size_t n = 0; n < u.size(); ++n) ASSERT_NEAR(u[n], u1[n], 1e-9 * 100) << n;
}

TEST(Progress, PositionOfTheLargestChange) {
  EXPECT_EQ(node_position(1, 5).i, 1);
  EXPECT_EQ(node_position(1, 5).j, 1);
  EXPECT_EQ(node_position(10, 5).i, 5);
  EXPECT_EQ(node_position(10, 5).j, 2);
  EXPECT_EQ(node_position(11, 5).i, 1);
  EXPECT_EQ(node_position(11, 5).j, 3);
  // A sweep that changed nothing.
  EXPECT_EQ(node_position(0, 5).i, 5);
  EXPECT_EQ(node_position(0, 5).j, 0);
}

}  // namespace
}  // namespace tambri
