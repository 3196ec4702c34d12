// The filled isoline picture of the potential on the 201 x 201 coax reference
// problem (solved once with ILU-BICG and the default settings), drawn as the
// RESULTS menu draws it: the dialogue answered from a script (no logarithm,
// no grid or raster lines, filled, automatic levels), the surface, the
// PostScript file and the bitmap, all as one figure. The same picture without
// the PostScript file and without either file shows where the time goes.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <ostream>
#include <sstream>
#include <streambuf>
#include <string>

#include "core/assembly.h"
#include "core/field_arrays.h"
#include "core/solver_settings.h"
#include "core/solvers.h"
#include "dialogue/isolines.h"
#include "draw/viewer.h"
#include "solved_reference.h"

namespace tambri {
namespace {

// Log N, discretisation N, raster N, filled Y, keep the range, automatic levels, Return.
constexpr const char* kAnswers = "N\nN\nN\nY\nN\nN\n\n";

struct NullBuffer : std::streambuf {
  int overflow(int c) override { return c; }
};

void run_picture(benchmark::State& state, bool postscript, bool bitmap) {
  bench::SolvedCoax& s = bench::solved_coax();
  bench::WorkingFolder scratch;
  OutputSettings output;
  output.postscript_off = !postscript;
  output.bitmap_off = !bitmap;
  const DisplayWindow window = full_display_window(s.model->grid);
  PictureMemory memory;
  GraphicsSurface surface;
  HeadlessViewer viewer;
  NullBuffer null_buffer;
  std::ostream out(&null_buffer);
  std::istringstream in;
  Console console(in, out, false);
  const NodeQuantity potential{&s.arrays->solution.potential, nullptr, false, "Potential (V)"};
  for (auto _ : state) {
    in.clear();
    in.str(kAnswers);
    ResultPicture picture{console, *s.model, output, window, {surface, viewer}, memory};
    draw_isolines(picture, potential);
  }
  if (postscript) state.counters["ps_bytes"] = static_cast<double>(std::filesystem::file_size("coax_i.ps"));
  if (bitmap && !std::filesystem::exists("coax_i.bmp")) state.SkipWithError("no bitmap written");
  state.counters["solver_iterations"] = s.result.iterations;
  state.SetLabel("coax 201 x 201");
}

void BM_FilledIsolinesSurfacePostScriptBitmap(benchmark::State& state) { run_picture(state, true, true); }
BENCHMARK(BM_FilledIsolinesSurfacePostScriptBitmap)->Unit(benchmark::kMillisecond);

void BM_FilledIsolinesSurfaceBitmap(benchmark::State& state) { run_picture(state, false, true); }
BENCHMARK(BM_FilledIsolinesSurfaceBitmap)->Unit(benchmark::kMillisecond);

void BM_FilledIsolinesSurfaceOnly(benchmark::State& state) { run_picture(state, false, false); }
BENCHMARK(BM_FilledIsolinesSurfaceOnly)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tambri
