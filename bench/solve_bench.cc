// Field calculation on the two 201 x 201 reference problems:
//   coax:   E, 0..0.1 m square, border Gesamt at 0 V, circle (0.05, 0.05) r 0.01 at 100 V;
//   plates: E, same grid, Oben at 100 V, Unten at 0 V, material 1 (eps 4) over the
//           middle third between them.
// Reports the assembly time, each solver's time to " ready " with the default
// settings (and its iteration count and distance from the direct solution),
// Eigen's SparseLU on the same matrix, and one streaming pass over the arrays
// an ILU-BICG iteration works on, as the yardstick for the time per iteration.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <vector>

#include "core/assembly.h"
#include "core/field_arrays.h"
#include "core/solver_settings.h"
#include "core/solvers.h"
#include "model/structure_model.h"
#include "reference_problems.h"

#ifdef TAMBRI_HAVE_EIGEN
#include <Eigen/SparseCore>
#include <Eigen/SparseLU>
#endif

namespace tambri {
namespace {

using bench::kCoax;
using bench::kPlates;
using bench::problem_name;
using bench::reference_model;

struct Reference {
  std::unique_ptr<StructureModel> model;
  std::unique_ptr<FieldArrays> arrays = std::make_unique<FieldArrays>();
  std::vector<double> direct;  // the potential from a direct solve, when available
};

Reference& reference(int problem) {
  static Reference refs[2];
  Reference& ref = refs[problem];
  if (!ref.model) {
    ref.model = reference_model(problem);
    fill_material_coefficients(*ref.model, ref.arrays->material);
    assemble(*ref.model, ref.arrays->material, ref.arrays->matrix, ref.arrays->solution);
  }
  return ref;
}

void BM_Assembly(benchmark::State& state) {
  Reference& ref = reference(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    fill_material_coefficients(*ref.model, ref.arrays->material);
    assemble(*ref.model, ref.arrays->material, ref.arrays->matrix, ref.arrays->solution);
    benchmark::DoNotOptimize(ref.arrays->matrix.mitte[1]);
  }
  state.SetLabel(problem_name(static_cast<int>(state.range(0))));
}
BENCHMARK(BM_Assembly)->Arg(kCoax)->Arg(kPlates)->Unit(benchmark::kMillisecond);

#ifdef TAMBRI_HAVE_EIGEN
using SparseMatrix = Eigen::SparseMatrix<double>;

SparseMatrix eigen_matrix(const Grid& grid, const StencilMatrix& m) {
  std::vector<Eigen::Triplet<double>> entries;
  entries.reserve(static_cast<size_t>(5 * grid.nodes()));
  for (int j = 1; j <= grid.ny; ++j) {
    for (int i = 1; i <= grid.nx; ++i) {
      const int k = grid.node(i, j);
      const int row = k - 1;
      entries.emplace_back(row, row, m.mitte[k]);
      if (j > 1 && m.links[k] != 0.0) entries.emplace_back(row, row - grid.nx, m.links[k]);
      if (j < grid.ny && m.rechts[k] != 0.0) entries.emplace_back(row, row + grid.nx, m.rechts[k]);
      if (i > 1 && m.oben[k] != 0.0) entries.emplace_back(row, row - 1, m.oben[k]);
      if (i < grid.nx && m.unten[k] != 0.0) entries.emplace_back(row, row + 1, m.unten[k]);
    }
  }
  SparseMatrix a(grid.nodes(), grid.nodes());
  a.setFromTriplets(entries.begin(), entries.end());
  a.makeCompressed();
  return a;
}

Eigen::VectorXd eigen_rhs(const Grid& grid, const StencilMatrix& m) {
  Eigen::VectorXd b(grid.nodes());
  for (int k = 1; k <= grid.nodes(); ++k) b[k - 1] = m.rhs[k];
  return b;
}

// The whole direct solve: ordering and symbolic analysis, numeric
// factorisation, and the two triangular solves.
void BM_EigenSparseLU(benchmark::State& state) {
  const int problem = static_cast<int>(state.range(0));
  Reference& ref = reference(problem);
  const SparseMatrix a = eigen_matrix(ref.model->grid, ref.arrays->matrix);
  const Eigen::VectorXd b = eigen_rhs(ref.model->grid, ref.arrays->matrix);
  Eigen::VectorXd x;
  for (auto _ : state) {
    Eigen::SparseLU<SparseMatrix, Eigen::COLAMDOrdering<int>> lu;
    lu.analyzePattern(a);
    lu.factorize(a);
    x = lu.solve(b);
    benchmark::DoNotOptimize(x.data());
  }
  ref.direct.assign(x.data(), x.data() + x.size());
  state.counters["residual_max"] = (a * x - b).cwiseAbs().maxCoeff();
  state.SetLabel(problem_name(problem));
}
BENCHMARK(BM_EigenSparseLU)->Arg(kCoax)->Arg(kPlates)->Unit(benchmark::kMillisecond);
#endif

// One solver run from the start potential with the default settings
// (500 iterations, omega 1.55, relative error 1.0E-6), as R in the menu does.
void BM_SolveToReady(benchmark::State& state) {
  const int problem = static_cast<int>(state.range(0));
  const SolverInfo& solver = solver_info(static_cast<int>(state.range(1)));
  Reference& ref = reference(problem);
  const SolverSettings settings;
  SolveResult result;
  for (auto _ : state) {
    state.PauseTiming();
    assemble(*ref.model, ref.arrays->material, ref.arrays->matrix, ref.arrays->solution);
    state.ResumeTiming();
    result = solver.solve(*ref.model, *ref.arrays, settings, {});
    benchmark::DoNotOptimize(ref.arrays->solution.potential[1]);
  }
  state.counters["iterations"] = result.iterations;
  state.counters["ready"] = result.ready ? 1 : 0;
  state.counters["time_per_iteration"] = benchmark::Counter(
      result.iterations, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
  if (!ref.direct.empty()) {
    double distance = 0.0;
    for (int k = 1; k <= ref.model->grid.nodes(); ++k) {
      distance =
          std::max(distance, std::abs(ref.arrays->solution.potential[k] - ref.direct[static_cast<size_t>(k - 1)]));
    }
    state.counters["max_diff_to_direct_V"] = distance;
  }
  state.SetLabel(std::string(problem_name(problem)) + " " + solver.name);
}
BENCHMARK(BM_SolveToReady)
    ->ArgsProduct({{kCoax, kPlates}, {kSolverIluBicg, kSolverIluCg, kSolverSlor, kSolverSor}})
    ->Unit(benchmark::kMillisecond);

// A Krylov solver for a fixed number of iterations (a tolerance it cannot
// reach): the difference of the 51- and the 1-iteration runs over 50 is the
// time of one iteration without the start-up (factorisation, first residual).
void BM_KrylovFixedIterations(benchmark::State& state) {
  Reference& ref = reference(kCoax);
  const SolverInfo& solver = solver_info(static_cast<int>(state.range(0)));
  SolverSettings settings;
  settings.relative_error = -1.0;
  settings.iteration_limit = static_cast<int>(state.range(1));
  for (auto _ : state) {
    state.PauseTiming();
    assemble(*ref.model, ref.arrays->material, ref.arrays->matrix, ref.arrays->solution);
    state.ResumeTiming();
    solver.solve(*ref.model, *ref.arrays, settings, {});
    benchmark::DoNotOptimize(ref.arrays->solution.potential[1]);
  }
  state.SetLabel(std::string("coax ") + solver.name);
}
BENCHMARK(BM_KrylovFixedIterations)
    ->ArgsProduct({{kSolverIluBicg, kSolverIluCg}, {1, 51}})
    ->Unit(benchmark::kMillisecond);

// The 17 node arrays an ILU-BICG iteration touches: five coefficients, five
// factors, u, r, r^, p, v, s, t.
std::vector<const double*> working_arrays(FieldArrays& a) {
  std::vector<const double*> arrays = {
      a.matrix.links.data(),        a.matrix.oben.data(),        a.matrix.mitte.data(),
      a.matrix.unten.data(),        a.matrix.rechts.data(),      a.work.factors.dinv.data(),
      a.work.factors.oben.data(),   a.work.factors.links.data(), a.work.factors.unten.data(),
      a.work.factors.rechts.data(), a.solution.potential.data()};
  for (const NodeArray& v : a.work.vectors) arrays.push_back(v.data());
  return arrays;
}

// Reads each working array once. Sixteen doubles are summed at a time, in
// eight independent pairs, so that memory and not the adder sets the pace:
// with four scalar accumulators (the variant below) the loop waits on its
// additions and takes about twice as long.
void BM_StreamWorkingArrays(benchmark::State& state) {
  Reference& ref = reference(kCoax);
  const std::vector<const double*> arrays = working_arrays(*ref.arrays);
  const int n = ref.model->grid.nodes();
  using Pair = double __attribute__((vector_size(2 * sizeof(double))));
  const auto pair_at = [](const double* p) {
    Pair x;
    std::memcpy(&x, p, sizeof x);
    return x;
  };
  for (auto _ : state) {
    Pair total = {0.0, 0.0};
    for (const double* p : arrays) {
      Pair s0 = {}, s1 = {}, s2 = {}, s3 = {}, s4 = {}, s5 = {}, s6 = {}, s7 = {};
      int k = 1;
      for (; k + 15 <= n; k += 16) {
        s0 += pair_at(p + k);
        s1 += pair_at(p + k + 2);
        s2 += pair_at(p + k + 4);
        s3 += pair_at(p + k + 6);
        s4 += pair_at(p + k + 8);
        s5 += pair_at(p + k + 10);
        s6 += pair_at(p + k + 12);
        s7 += pair_at(p + k + 14);
      }
      for (; k <= n; ++k) total[0] += p[k];
      total += ((s0 + s1) + (s2 + s3)) + ((s4 + s5) + (s6 + s7));
    }
    benchmark::DoNotOptimize(total);
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(arrays.size()) * n *
                          static_cast<int64_t>(sizeof(double)));
  state.SetLabel(std::to_string(arrays.size()) + " arrays of " + std::to_string(n) + " nodes");
}
BENCHMARK(BM_StreamWorkingArrays)->Unit(benchmark::kMicrosecond);

// The same pass summed with four scalar accumulators, as measured before:
// bound by the latency of the additions, not by memory.
void BM_StreamWorkingArraysScalar(benchmark::State& state) {
  Reference& ref = reference(kCoax);
  const std::vector<const double*> arrays = working_arrays(*ref.arrays);
  const int n = ref.model->grid.nodes();
  for (auto _ : state) {
    double total = 0.0;
    for (const double* p : arrays) {
      double s0 = 0, s1 = 0, s2 = 0, s3 = 0;
      int k = 1;
      for (; k + 3 <= n; k += 4) {
        s0 += p[k];
        s1 += p[k + 1];
        s2 += p[k + 2];
        s3 += p[k + 3];
      }
      for (; k <= n; ++k) s0 += p[k];
      total += (s0 + s1) + (s2 + s3);
    }
    benchmark::DoNotOptimize(total);
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(arrays.size()) * n *
                          static_cast<int64_t>(sizeof(double)));
}
BENCHMARK(BM_StreamWorkingArraysScalar)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace tambri
