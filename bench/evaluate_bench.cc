// Evaluation on the 201 x 201 coax reference problem, solved once with
// ILU-BICG and the default settings as R in the menu does: the derived field
// quantities computed on entry into the evaluation, and for comparison one
// path integral around the inner conductor.
#include <benchmark/benchmark.h>

#include <memory>

#include "core/assembly.h"
#include "core/derived_fields.h"
#include "core/field_arrays.h"
#include "core/path_integral.h"
#include "core/solver_settings.h"
#include "core/solvers.h"
#include "solved_reference.h"

namespace tambri {
namespace {

void BM_DerivedFields(benchmark::State& state) {
  bench::SolvedCoax& s = bench::solved_coax();
  for (auto _ : state) {
    compute_derived_fields(*s.model, s.arrays->material, s.arrays->solution, s.arrays->derived);
    // The whole set, not one double: with GCC 12 and this library,
    // DoNotOptimize of a double lvalue can take its "r" alternative and write
    // a general register's content back into the value.
    benchmark::DoNotOptimize(s.arrays->derived);
  }
  // u and c read, five arrays written.
  const int64_t nodes = s.model->grid.nodes();
  state.SetBytesProcessed(state.iterations() * 7 * nodes * static_cast<int64_t>(sizeof(double)));
  state.counters["solver_iterations"] = s.result.iterations;
  state.counters["solver_ready"] = s.result.ready ? 1 : 0;
  state.SetLabel("coax 201 x 201");
}
BENCHMARK(BM_DerivedFields)->Unit(benchmark::kMicrosecond);

// The square from (0.03, 0.03) to (0.07, 0.07) around the inner conductor:
// 4 x 81 nodes summed. The charge is reported as a counter (about
// 3.3E-9 As/m: 2 pi eps0 100 V / ln(5) = 3.46E-9 for a round outer conductor of
// radius 0.05, a little less for the square).
void BM_PathIntegralAroundTheConductor(benchmark::State& state) {
  bench::SolvedCoax& s = bench::solved_coax();
  compute_derived_fields(*s.model, s.arrays->material, s.arrays->solution, s.arrays->derived);
  PathIntegral p;
  for (auto _ : state) {
    p = integrate_path(s.model->grid, s.arrays->derived, 0.03, 0.03, 0.07, 0.07);
    benchmark::DoNotOptimize(p);
  }
  state.counters["charge_As_per_m"] = p.flux;
  state.SetLabel("coax 201 x 201");
}
BENCHMARK(BM_PathIntegralAroundTheConductor)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace tambri
