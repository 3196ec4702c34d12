// Rasterisation of the largest structure onto the largest grid: every part is
// tested against every node, as the program does after each change.
#include <benchmark/benchmark.h>

#include <memory>

#include "core/rasterise.h"

namespace tambri {
namespace {

std::unique_ptr<StructureModel> largest_structure() {
  auto m = std::make_unique<StructureModel>();
  m->grid.nx = m->grid.ny = kMaxLines;
  for (int i = 1; i <= kMaxLines; ++i) m->grid.x[i] = m->grid.y[i] = 0.005 * (i - 1);
  auto enter = [&](int32_t shape) { m->sequence[++m->sequence_length] = shape; };
  for (int k = 1; k <= kMaxShapeParts; ++k) {
    const double c = 0.02 * k;
    m->points.at[++m->points.count] = {c, c, 1};
    enter(kShapePoint);
    m->rectangles.at[++m->rectangles.count] = {c, 0.1, c + 0.2, 0.6, 2};
    enter(kShapeRectangle);
    m->triangles.at[++m->triangles.count] = {c, 0.0, c + 0.3, 0.5, 0.1, 0.9, 30};
    enter(kShapeTriangle);
    m->circles.at[++m->circles.count] = {0.5, c, 0.1, 400};
    enter(kShapeCircle);
  }
  for (int side = 1; side <= kMaxBorders; ++side) {
    m->borders.at[++m->borders.count] = {side, 10};
    enter(kShapeBorder);
  }
  return m;
}

void BM_RasteriseLargestStructure(benchmark::State& state) {
  std::unique_ptr<StructureModel> model = largest_structure();
  for (auto _ : state) {
    benchmark::DoNotOptimize(rasterise(*model));
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_RasteriseLargestStructure)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tambri
